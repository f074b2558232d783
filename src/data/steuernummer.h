#pragma once

#include <QString>

// A client's tax number as typed in the master data.
namespace steuernummer {

// Empty when the text holds only digits, blanks, "-" and "/", else the message.
QString pruefen(const QString& text);

} // namespace steuernummer
