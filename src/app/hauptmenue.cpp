// The main menu of TForm_Velmora, item by item. Every menu and item has a
// mnemonic of its own within its menu, so the whole menu is reached by keyboard.
#include "app/tform_velmora.h"
#include "bank/kontoauszugbefehl.h"
#include "reports/protokollbefehle.h"
#include "reports/uvabefehl.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

QAction* item(QMenu* menu, const char* objectName, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QLatin1String(objectName));
    return a;
}

QMenu* menu(QMenuBar* bar, const char* objectName, const QString& text) {
    QMenu* m = bar->addMenu(text);
    m->setObjectName(QLatin1String(objectName));
    m->menuAction()->setObjectName(QLatin1String(objectName));
    return m;
}

} // namespace

void TForm_Velmora::baueMenue() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* datei = menu(bar, "Datei1", QStringLiteral("&Datei"));
    auto* kontoauszug = new KontoauszugBefehl(m_umgebung, *this, this);
    connect(item(datei, "KontoauszugImportieren1", QStringLiteral("&Kontoauszug importieren…")),
            &QAction::triggered, kontoauszug, &KontoauszugBefehl::KontoauszugImportieren1Click);
    datei->addSeparator();
    connect(item(datei, "Beenden1", QStringLiteral("Been&den")), &QAction::triggered, this,
            &TForm_Velmora::Beenden1Click);

    // "&Buchen" is a command on the bar itself, not a menu
    QAction* buchen = bar->addAction(QStringLiteral("&Buchen"));
    buchen->setObjectName(QStringLiteral("Buchen1"));
    connect(buchen, &QAction::triggered, this, &TForm_Velmora::Buchen1Click);

    QMenu* verwalten = menu(bar, "Verwalten1", QStringLiteral("&Verwalten"));
    connect(item(verwalten, "Stammdaten1", QStringLiteral("&Stammdaten")), &QAction::triggered,
            this, &TForm_Velmora::Stammdaten1Click);
    connect(item(verwalten, "Mandanten1", QStringLiteral("&Mandanten")), &QAction::triggered, this,
            &TForm_Velmora::Mandanten1Click);
    connect(item(verwalten, "Wirtschaftsjahrauswhlen1", QStringLiteral("&Wirtschaftsjahre")),
            &QAction::triggered, this, &TForm_Velmora::Wirtschaftsjahrauswhlen1Click);
    connect(item(verwalten, "Buchungskreise1", QStringLiteral("&Buchungskreise")),
            &QAction::triggered, this, &TForm_Velmora::Buchungskreise1Click);
    connect(item(verwalten, "AnlagenVerwalten1", QStringLiteral("&Anlagenverzeichnis")),
            &QAction::triggered, this, &TForm_Velmora::AnlagenVerwalten1Click);
    connect(item(verwalten, "Datenbankpruefen1", QStringLiteral("Datenbank &prüfen")),
            &QAction::triggered, this, &TForm_Velmora::DatenbankPruefen1Click);
    auto* protokoll = new ProtokollBefehle(m_umgebung, this);
    connect(item(verwalten, "Aenderungsprotokoll1", QStringLiteral("Ä&nderungsprotokoll")),
            &QAction::triggered, protokoll, &ProtokollBefehle::Aenderungsprotokoll1Click);
    QAction* festschreiben =
        item(verwalten, "ZeitraumFestschreiben1", QStringLiteral("Zeitraum &festschreiben…"));
    connect(festschreiben, &QAction::triggered, protokoll,
            &ProtokollBefehle::ZeitraumFestschreiben1Click);
    // the status bar and the grey rows show the new lock at once
    connect(festschreiben, &QAction::triggered, this, &TForm_Velmora::Berechne);
    connect(item(verwalten, "Datensicherungen1", QStringLiteral("&Datensicherungen…")),
            &QAction::triggered, this, &TForm_Velmora::Datensicherungen1Click);
    verwalten->addSeparator()->setObjectName(QStringLiteral("N1"));
    connect(item(verwalten, "Iconerstellen1", QStringLiteral("&Icon erstellen...")),
            &QAction::triggered, this, &TForm_Velmora::Iconerstellen1Click);
    QAction* n2 = verwalten->addSeparator();
    n2->setObjectName(QStringLiteral("N2"));
    n2->setVisible(false);
    QAction* importieren =
        item(verwalten, "MandantImportieren1", QStringLiteral("Mandant Imp&ortieren"));
    importieren->setVisible(false);
    connect(importieren, &QAction::triggered, this, &TForm_Velmora::MandantImportieren1Click);

    QMenu* auswerten = menu(bar, "Auswerten1", QStringLiteral("&Auswerten"));
    connect(item(auswerten, "USTVerprobung1", QStringLiteral("&UST-Verprobung")),
            &QAction::triggered, this, &TForm_Velmora::USTVerprobung1Click);
    connect(item(auswerten, "Journal1", QStringLiteral("&Journal")), &QAction::triggered, this,
            &TForm_Velmora::Journal1Click);
    connect(
        item(auswerten, "BuchungskreisAuswertung1", QStringLiteral("Buchungskreis-&Auswertung")),
        &QAction::triggered, this, &TForm_Velmora::BuchungskreisAuswertung1Click);
    connect(item(auswerten, "BuchungskreisDetails1", QStringLiteral("Buchungskreis &Details")),
            &QAction::triggered, this, &TForm_Velmora::BuchungskreisDetails1Click);
    connect(item(auswerten, "Plus_Minus", QStringLiteral("&Plus - Minus")), &QAction::triggered,
            this, &TForm_Velmora::Plus_MinusClick);
    connect(item(auswerten, "Monatsuebersicht1", QStringLiteral("&Monatsübersicht")),
            &QAction::triggered, this, &TForm_Velmora::MonatsuebersichtClick);
    connect(item(auswerten, "Anlagenverzeichnis1", QStringLiteral("Anlagen&verzeichnis")),
            &QAction::triggered, this, &TForm_Velmora::AnlagenverzeichnisClick);
    connect(item(auswerten, "Jahresabschluss1", QStringLiteral("Jahresabschluss (&E 1a)")),
            &QAction::triggered, this, &TForm_Velmora::JahresabschlussClick);

    QMenu* exportMenu = menu(bar, "Export1", QStringLiteral("&Export"));
    connect(item(exportMenu, "Finanzamt1", QStringLiteral("&Finanzamt")), &QAction::triggered, this,
            &TForm_Velmora::Finanzamt1Click);
    auto* uva = new UvaBefehl(m_umgebung, this);
    connect(item(exportMenu, "UVA1", QStringLiteral("&UVA für FinanzOnline…")), &QAction::triggered,
            uva, &UvaBefehl::UVA1Click);

    QMenu* info = menu(bar, "Info1", QStringLiteral("&Info"));
    connect(item(info, "berVelmora1", QStringLiteral("Über &Velmora")), &QAction::triggered, this,
            &TForm_Velmora::berVelmora1Click);
}

QAction* TForm_Velmora::menuAction(const QString& objectName) const {
    const QList<QAction*> all = findChildren<QAction*>(objectName);
    return all.isEmpty() ? nullptr : all.front();
}
