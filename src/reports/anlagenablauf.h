#pragma once

#include <functional>
#include <optional>

class TFormAnlage;
struct Umgebung;
namespace anlagenverzeichnis {
struct Eintrag;
}

// The asset window's interactions without the window: the dialog asked
// through the user seam, the register's commands doing the change. A value
// that cannot be read or a change the register refuses is told and the
// dialog shown again with what was typed; nothing is stored then.
class AnlagenAblauf {
public:
    AnlagenAblauf(Umgebung& umgebung, TFormAnlage& dialog);

    // Each answers whether something was stored.
    bool neu();
    bool aendern(int id);
    bool abgang(int id);
    bool loeschen(int id);

    // The id of the asset stored last.
    int zuletzt() const { return m_zuletzt; }

private:
    bool bearbeiten(const std::function<void(const anlagenverzeichnis::Eintrag&)>& speichern);
    void ausserhalbDesJahres(const anlagenverzeichnis::Eintrag& e);

    Umgebung& m_umgebung;
    TFormAnlage& m_dialog;
    int m_zuletzt = 0;
};
