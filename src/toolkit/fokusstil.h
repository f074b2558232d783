#pragma once

#include <QProxyStyle>

// Shows the keyboard focus on every control at all times. Qt's styles draw
// the focus frame of a check box or button only after the keyboard has
// moved the focus, so a dialog that opens with the focus on a check box
// showed no focus at all.
class FokusStil final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
};

// Puts FokusStil over the application's current style.
void fokusSichtbarMachen();
