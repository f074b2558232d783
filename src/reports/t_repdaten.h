#pragma once

#include <QDate>
#include <QString>

// What an evaluation command hands its report: client, fiscal year, period
// and the texts of the header. Each report keeps its own instance.
struct T_RepDaten {
    int Zeitraum = 0; // T_Zeitraum.id
    int Mandant = 0;  // T_Mandant.id
    int Jahr = 0;     // calendar year of the fiscal year
    QDate Von;
    QDate Bis;
    QString ZeitraumText;
    QString GanzerName;
};
