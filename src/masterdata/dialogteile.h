#pragma once

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

// Small builders for the look the master-data dialogs share.
namespace dialogteile {

QLabel* label(QWidget* parent, const char* objectName, const QString& text, bool bold = false);
// Bold navy, for the current client and year.
QLabel* wertLabel(QWidget* parent, const char* objectName);
QPushButton* button(QWidget* parent, const char* objectName, const QString& text);

} // namespace dialogteile
