#pragma once

#include "export/tdbgridexport.h"
#include "platform/clock.h"
#include "platform/scripteduserseam.h"

#include <QFile>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A grid of three columns (left, right and centre aligned) over a small
// model, with its export component and a temporary directory.
class ExportFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        setRows({{"Müller", "12,50", "Wien"}, {"", "", "Graz"}, {"A, \"B\"", "-3", "Linz"}});
        grid.setModel(&model);
        exporter = std::make_unique<TDBGridExport>(ui, clock);
        exporter->setDBGrid(&grid);
        exporter->Options = {xoShowHeader, xoUseAlignments};
        exporter->ExportStyle = xsFile;
        exporter->ExportType = xtTAB;
        exporter->OnError = [this](TCustomExport&, int code) { errors.push_back(code); };
    }

    void setRows(const std::vector<std::vector<QString>>& rows) {
        model.clear();
        model.setColumnCount(3);
        model.setHorizontalHeaderLabels({"Name", "Betrag", "Ort"});
        const Qt::Alignment align[3] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
        for (const auto& row : rows) {
            QList<QStandardItem*> items;
            for (int c = 0; c < 3; ++c) {
                auto* item = new QStandardItem(row[static_cast<size_t>(c)]);
                item->setTextAlignment(align[c] | Qt::AlignVCenter);
                items << item;
            }
            model.appendRow(items);
        }
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    static QByteArray bytes(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // Writes the export to out.TXT and answers its bytes.
    QByteArray run() {
        exporter->FileName = path("out.txt");
        exporter->RunExport();
        return bytes(path("out.TXT"));
    }

    QTemporaryDir dir;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(10, 0))};
    ScriptedUserSeam ui;
    QStandardItemModel model;
    QTableView grid;
    std::unique_ptr<TDBGridExport> exporter;
    std::vector<int> errors;
};
