#pragma once

#include <QString>
#include <QVariant>

// The formatter of Velmora's reports: a field with a mask is an amount in
// the database's ten-thousandths and goes through Currency's mask helper, so
// it never passes through a double; a null amount prints nothing.
QString berichtsFormat(const QVariant& value, const QString& mask);

// The mask of a date field: the database's 'YYYY-MM-DD' printed as "dd.mm.yyyy".
inline const QString kDatumMaske = QStringLiteral("dd.mm.yyyy");

// The mask of a rate field: "20", "4,9".
inline const QString kSatzMaske = QStringLiteral("satz");
