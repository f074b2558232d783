#pragma once

#include "reports/tmonatsauswahl.h"

// The period dialog of the VAT return: the twelve months and four quarters,
// no whole year and no data export. It opens on the period set before.
class TUvaAuswahl final : public TMonatsAuswahl {
    Q_OBJECT
public:
    explicit TUvaAuswahl(QWidget* parent = nullptr);

    void setVorgabe(int code) { m_vorgabe = code; }

protected:
    void FormActivate() override;

private:
    int m_vorgabe = 1;
};
