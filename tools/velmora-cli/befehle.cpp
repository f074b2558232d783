#include "cli.h"

namespace cli {

std::vector<Befehl> alleBefehle() {
    std::vector<Befehl> all;
    startBefehle(all);
    stammdatenBefehle(all);
    buchungsBefehle(all);
    protokollBefehle(all);
    berichtBefehle(all);
    exportBefehle(all);
    bankBefehle(all);
    anlagenBefehle(all);
    e1aBefehle(all);
    return all;
}

} // namespace cli
