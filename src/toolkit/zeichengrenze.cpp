#include "toolkit/zeichengrenze.h"

#include "data/texte.h"

#include <QLineEdit>
#include <memory>

void zeichenBegrenzen(QLineEdit* edit, int n) {
    // The text before the edit: textEdited comes before textChanged, and a
    // textChanged that no longer matches the edit is the one we just cut.
    auto vorher = std::make_shared<QString>(edit->text());
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, vorher](const QString& text) {
        if (text == edit->text())
            *vorher = text;
    });
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, n, vorher](const QString& neu) {
        const int anzahl = texte::zeichenAnzahl(neu);
        // a longer stored text may still be shortened: only growth is cut
        int ueber = std::min(anzahl - n, anzahl - texte::zeichenAnzahl(*vorher));
        if (ueber <= 0)
            return;
        // what was just typed or pasted ends at the cursor: drop its end
        const qsizetype ende = edit->cursorPosition();
        qsizetype anfang = ende;
        while (ueber > 0 && anfang > 0) {
            const bool paar = anfang >= 2 && neu[anfang - 1].isLowSurrogate() &&
                              neu[anfang - 2].isHighSurrogate();
            anfang -= paar ? 2 : 1;
            --ueber;
        }
        const QString text = neu.left(anfang) + neu.mid(ende);
        *vorher = text;
        edit->setText(text);
        edit->setCursorPosition(static_cast<int>(std::min(anfang, text.size())));
    });
}
