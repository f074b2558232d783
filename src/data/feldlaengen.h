#pragma once

// The longest texts the program stores in its text fields: what a
// fixed-width export makes a text column as wide as.
namespace feldlaenge {

// T_Buchungen.Text, text(100); the booking dialog and the checks keep to it.
inline constexpr int Buchungstext = 100;
// A text field declared without a width (circle and account names): the
// longest text of such a field in the original database.
inline constexpr int Text = 255;

} // namespace feldlaenge
