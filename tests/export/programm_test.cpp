#include "exporttest.h"

#include "export/exportsavedialog.h"
#include "export/programmexport.h"
#include "export/tfrm_selection.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const QByteArray kExport = "Name\tBetrag\tOrt\r\n"
                           "M\xFC"
                           "ller\t12,50\tWien\r\n"
                           "\t\tGraz\r\n"
                           "A, \"B\"\t-3\tLinz\r\n";

} // namespace

// The component as the program sets it up and calls it.
class ProgrammExport : public ExportFixture {
protected:
    void SetUp() override {
        ExportFixture::SetUp();
        programmExportEinrichten(*exporter, ui, QStringLiteral("Export Finanzamt"));
        // no progress window in these runs
        exporter->Options.exclude(xoShowProgress);
    }

    // Chooses the format of that entry and presses OK.
    void selectionOk(const QString& format = QStringLiteral("Text (Tab getrennt)")) {
        ui.answerModal([this, format](QDialog& d) {
            auto& s = dynamic_cast<Tfrm_Selection&>(d);
            shownFormats.clear();
            for (int i = 0; i < s.SelectionCombo->count(); ++i)
                shownFormats << s.SelectionCombo->itemText(i);
            preselected = s.SelectionCombo->currentText();
            s.SelectionCombo->setCurrentIndex(s.SelectionCombo->findText(format));
            fileChecked = s.rdo_File->isChecked();
            s.btn_Selection->click();
            return s.result();
        });
    }
    // The save dialog: remembers its preset, types file, presses OK; when
    // the replace question is answered no, the dialog stays and is cancelled.
    void saveAs(const QString& file) {
        ui.answerModal([this, file](QDialog& d) {
            auto& s = dynamic_cast<ExportSaveDialog&>(d);
            presets << QFileInfo(s.selectedFiles().value(0)).fileName();
            titles << s.windowTitle();
            s.selectFile(file);
            s.accept();
            if (s.result() != QDialog::Accepted)
                s.reject();
            return s.result();
        });
    }
    void execute() { programmExportAusfuehren(*exporter, ui); }

    QStringList shownFormats;
    QString preselected;
    bool fileChecked = false;
    QStringList presets;
    QStringList titles;
};

TEST_F(ProgrammExport, SettingsAndTheSelectionDialogsTexts) {
    EXPECT_EQ(exporter->ExportType, xtXLSX);
    EXPECT_EQ(exporter->GetFilter(), QStringLiteral("Excel-Arbeitsmappe (*.xlsx)|*.XLSX"));
    EXPECT_EQ(exporter->GetExtension(), QStringLiteral("XLSX"));
    EXPECT_EQ(exporter->Messages.DocumentFilter.Excel, QStringLiteral("Excel Datei"));
    // the document formats' settings, without effect on the tab format
    const TRTFOptions& r = exporter->DOC_RTF;
    EXPECT_EQ(RTFFontEntry(1, r.CustomSettings.HeaderFont.font),
              QStringLiteral("{\\f1\\fswiss\\fcharset0 Tahoma;}"));
    EXPECT_EQ(RTFFontAttributes(r.CustomSettings.HeaderFont.font), QStringLiteral("\\fs16\\b"));
    EXPECT_EQ(RTFFontAttributes(r.CustomSettings.TableFont.font), QStringLiteral("\\fs16"));
    EXPECT_EQ(r.CellWidth, 1400);
    EXPECT_EQ(r.LeftMargin, 461);
    EXPECT_EQ(exporter->EXCEL.Options, TExcelOptionSet{});
    EXPECT_EQ(exporter->EXCEL.Footer, QStringLiteral("&P"));
    EXPECT_EQ(exporter->EXCEL.HeaderFont.family(), QStringLiteral("Tahoma"));
    EXPECT_TRUE(exporter->EXCEL.HeaderFont.bold());
    EXPECT_EQ(exporter->HTML.Template, ctStandard);

    selectionOk();
    saveAs(path("a.txt"));
    execute();
    Tfrm_Selection& s = exporter->selectionDialog();
    EXPECT_EQ(s.windowTitle(), QStringLiteral("Export Finanzamt"));
    EXPECT_EQ(s.GroupBox->title(), QStringLiteral(" E&xport Formate: "));
    EXPECT_EQ(s.rdo_View->text(), QStringLiteral("&Ansicht"));
    EXPECT_EQ(s.rdo_File->text(), QStringLiteral("Export &in Datei"));
    EXPECT_EQ(s.btn_Selection->text(), QStringLiteral("&Exportieren"));
    EXPECT_EQ(s.btn_Cancel->text(), QStringLiteral("&Abbruch"));
    // the workbook first and preselected, the semicolon CSV and the tab text
    // after it, then the component's formats in their fixed order
    EXPECT_EQ(shownFormats,
              (QStringList{"Excel-Arbeitsmappe (XLSX)", "CSV für Excel (Semikolon)",
                           "Text (Tab getrennt)", "HTML", "Microsoft Word", "Microsoft Excel",
                           "Text", "Rich Text", "Comma-Separated Text", "Data Interchange Format",
                           "SYLK Format", "Clipboard"}));
    EXPECT_EQ(preselected, QStringLiteral("Excel-Arbeitsmappe (XLSX)"));
    EXPECT_EQ(exporter->ExportType, xtTAB);
    EXPECT_TRUE(fileChecked);
    EXPECT_EQ(titles, QStringList{"Save document"});
    EXPECT_EQ(bytes(path("a.TXT")), kExport);
}

TEST_F(ProgrammExport, FormatsInTheirFixedOrderAndClipboardDisablesTheChoice) {
    // the component's own names and order
    exporter->FormatEntries.clear();
    exporter->ExportType = xtTAB;
    exporter->ExportTypes = {xtClipboard, xtCSV, xtTAB, xtTXT};
    ui.answerModal([](QDialog& d) {
        auto& s = dynamic_cast<Tfrm_Selection&>(d);
        QStringList names;
        for (int i = 0; i < s.SelectionCombo->count(); ++i)
            names << s.SelectionCombo->itemText(i);
        EXPECT_EQ(names,
                  (QStringList{"Text", "Comma-Separated Text", "Tab-Separated Text", "Clipboard"}));
        EXPECT_EQ(s.SelectionCombo->currentText(), QStringLiteral("Tab-Separated Text"));
        s.SelectionCombo->setCurrentIndex(3);
        EXPECT_FALSE(s.rdo_View->isEnabled());
        EXPECT_FALSE(s.rdo_File->isEnabled());
        s.SelectionCombo->setCurrentIndex(1);
        EXPECT_TRUE(s.rdo_File->isEnabled());
        s.rdo_View->setChecked(true);
        s.btn_Cancel->click();
        return s.result();
    });
    execute();
    // the choice stays for next time; cancelling writes nothing
    EXPECT_EQ(exporter->ExportType, xtCSV);
    EXPECT_EQ(exporter->ExportStyle, xsView);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(ProgrammExport, SecondExportAsksAgainPresetAndConfirmsReplacing) {
    selectionOk();
    saveAs(path("journal.txt"));
    execute();
    ASSERT_EQ(bytes(path("journal.TXT")), kExport);

    // the next export: the dialog again, preset with the last name; the
    // existing file is replaced only after "Ja"
    setRows({{"x", "1", "y"}});
    selectionOk();
    saveAs(path("journal.txt"));
    ui.answerQuestion(UserSeam::No);
    execute();
    ASSERT_EQ(presets.size(), 2);
    EXPECT_EQ(presets[1], QStringLiteral("journal.txt"));
    EXPECT_EQ(ui.texts("question"),
              QStringList{ExportSaveDialog::questionReplace(path("journal.TXT"))});
    EXPECT_EQ(bytes(path("journal.TXT")), kExport);
    EXPECT_TRUE(ui.texts("error").isEmpty()); // a cancelled save dialog is silent

    selectionOk();
    saveAs(path("journal.csv")); // written as journal.TXT, so that is what is asked about
    ui.answerQuestion(UserSeam::Yes);
    execute();
    EXPECT_EQ(bytes(path("journal.TXT")), QByteArray("Name\tBetrag\tOrt\r\nx\t1\ty\r\n"));
    EXPECT_EQ(ui.texts("question").size(), 2);
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(ProgrammExport, MissingDirectoryIsReportedWithNameAndReasonAndWritesNothing) {
    selectionOk();
    exporter->FileName = path("fehlt/x.txt");
    exporter->Execute();
    const QStringList shown = ui.texts("error");
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(
        QStringLiteral("Die Datei %1 konnte nicht geschrieben werden:\r").arg(path("fehlt/x.TXT"))))
        << shown[0].toStdString();
    EXPECT_TRUE(shown[0].endsWith(QStringLiteral("\rDie Daten wurden nicht exportiert.")));
    EXPECT_FALSE(QFileInfo::exists(path("fehlt")));
}

TEST_F(ProgrammExport, ReadOnlyDirectoryKeepsTheEarlierFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only directories";
    QDir(dir.path()).mkdir("ro");
    QFile earlier(path("ro/x.TXT"));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("alt");
    earlier.close();
    QFile::setPermissions(path("ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    exporter->ExportType = xtTAB;
    exporter->FileName = path("ro/x.txt");
    exporter->RunExport();
    QFile::setPermissions(path("ro"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(errors.size(), 0u); // the program's handler replaced the test's
    EXPECT_EQ(ui.texts("error").size(), 1);
    EXPECT_EQ(bytes(path("ro/x.TXT")), QByteArray("alt"));
    EXPECT_EQ(QDir(path("ro")).entryList(QDir::Files), QStringList{"x.TXT"});
}

// A disk that fills up half-way (here: a file size limit) leaves the earlier
// export as it was and no temporary file behind.
TEST_F(ProgrammExport, WriteFailureKeepsTheEarlierFileIntact) {
    QFile earlier(path("x.TXT"));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("alt");
    earlier.close();
    std::vector<std::vector<QString>> rows(2000, {"eine lange Zeile", "123,45", "Wien"});
    setRows(rows);

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    exporter->ExportType = xtTAB;
    exporter->FileName = path("x.txt");
    exporter->RunExport();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_EQ(ui.texts("error").size(), 1);
    EXPECT_TRUE(ui.texts("error")[0].startsWith(
        QStringLiteral("Die Datei %1 konnte nicht geschrieben werden:\r").arg(path("x.TXT"))));
    EXPECT_EQ(bytes(path("x.TXT")), QByteArray("alt"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"x.TXT"});
}

TEST_F(ProgrammExport, ClosedDataAndMissingNameAreReported) {
    exporter->setDBGrid(nullptr);
    exporter->FileName = path("x.txt");
    exporter->RunExport();
    exporter->setDBGrid(&grid);
    exporter->FileName.clear();
    exporter->RunExport();
    EXPECT_EQ(ui.texts("error"),
              (QStringList{exportFehlermeldung(2, {}, {}), exportFehlermeldung(0, {}, {})}));
    EXPECT_EQ(exportFehlermeldung(2, {}, {}),
              QStringLiteral("Es sind keine Daten zum Exportieren geöffnet.\rDie Daten wurden "
                             "nicht exportiert."));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ProgrammExport, CharactersOutsideTheCodePageAreCountedAndReported) {
    setRows({{"Pfeil →", "ж", "€"}});
    selectionOk();
    saveAs(path("z.txt"));
    execute();
    EXPECT_EQ(bytes(path("z.TXT")), QByteArray("Name\tBetrag\tOrt\r\nPfeil ?\t?\t\x80\r\n"));
    EXPECT_EQ(ui.texts("message"),
              QStringList{"2 Zeichen waren in Windows-1252 nicht darstellbar und wurden durch ? "
                          "ersetzt."});
}

TEST_F(ProgrammExport, TheBooksFilesAreRefusedAndTheDialogStaysOpen) {
    // the program works in the directory of its books
    const QString vorher = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QDir(dir.path()).mkdir("Datensicherung");
    {
        QFile f(path("Datensicherung/a.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Bücher");
    }
    exporter->ExportTypes = {xtTAB};
    // the name really written counts: "a.txt" becomes "a.TXT", inside the backups
    for (const QString name : {"Datensicherung/a.txt", "Datensicherung/b.csv"}) {
        selectionOk();
        saveAs(path(name));
        execute();
    }
    QDir::setCurrent(vorher);
    EXPECT_EQ(ui.texts("error"),
              QStringList(2, QStringLiteral("Diese Datei gehört zu den Büchern von Velmora und "
                                            "wird nicht überschrieben.")));
    EXPECT_EQ(bytes(path("Datensicherung/a.txt")), QByteArray("Bücher"));
    EXPECT_EQ(QDir(path("Datensicherung")).entryList(QDir::Files), QStringList{"a.txt"});
    EXPECT_TRUE(ui.texts("question").isEmpty());
}
