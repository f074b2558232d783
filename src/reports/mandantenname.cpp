#include "reports/mandantenname.h"

#include "data/dm_einaus.h"

#include <optional>

namespace mandantenname {

namespace {

// nullopt without a row; the row's GanzerName, which may be null
std::optional<QVariant> name(TDM_EinAus& dm) {
    Sql q =
        dm.db().sql(QStringLiteral("select GanzerName from T_Stammdaten where mandant = :mandant"));
    q.bind(QStringLiteral("mandant"), dm.stammdatenFilter()).exec();
    if (!q.next())
        return std::nullopt;
    return q.value(0);
}

} // namespace

QString keinName() {
    return QStringLiteral("In den Stammdaten wurde noch kein Name eingetragen!!!");
}

QString nullTest(TDM_EinAus& dm) {
    const auto n = name(dm);
    if (!n || n->isNull())
        return keinName();
    return n->toString();
}

QString zeilenTest(TDM_EinAus& dm) {
    const auto n = name(dm);
    if (!n)
        return keinName();
    return n->isNull() ? QString() : n->toString();
}

} // namespace mandantenname
