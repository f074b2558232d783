#include "toolkit/fokusstil.h"

#include <QApplication>
#include <QStyleFactory>
#include <QStyleOption>
#include <memory>

namespace {

// The option as if the keyboard had moved the focus; a copy of the same
// type, so the style still reads its particular fields.
template <class Option> std::unique_ptr<QStyleOption> mitFokus(const Option* option) {
    auto kopie = std::make_unique<Option>(*option);
    kopie->state |= QStyle::State_KeyboardFocusChange;
    return kopie;
}

std::unique_ptr<QStyleOption> kopieMitFokus(const QStyleOption* option) {
    if (const auto* o = qstyleoption_cast<const QStyleOptionFocusRect*>(option))
        return mitFokus(o);
    if (const auto* o = qstyleoption_cast<const QStyleOptionButton*>(option))
        return mitFokus(o);
    if (const auto* o = qstyleoption_cast<const QStyleOptionFrame*>(option))
        return mitFokus(o);
    return nullptr;
}

bool brauchtFokus(const QStyleOption* option) {
    return option && (option->state & QStyle::State_HasFocus) &&
           !(option->state & QStyle::State_KeyboardFocusChange);
}

} // namespace

void FokusStil::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                              QPainter* painter, const QWidget* widget) const {
    // a focus frame is asked for only where the focus is
    const bool frame =
        element == PE_FrameFocusRect && option && !(option->state & State_KeyboardFocusChange);
    if (frame || brauchtFokus(option)) {
        if (const auto kopie = kopieMitFokus(option)) {
            QProxyStyle::drawPrimitive(element, kopie.get(), painter, widget);
            return;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void FokusStil::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const {
    if (brauchtFokus(option)) {
        if (const auto kopie = kopieMitFokus(option)) {
            QProxyStyle::drawControl(element, kopie.get(), painter, widget);
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void FokusStil::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                   QPainter* painter, const QWidget* widget) const {
    if (brauchtFokus(option)) {
        if (const auto* o = qstyleoption_cast<const QStyleOptionComboBox*>(option)) {
            QStyleOptionComboBox kopie(*o);
            kopie.state |= State_KeyboardFocusChange;
            QProxyStyle::drawComplexControl(control, &kopie, painter, widget);
            return;
        }
        if (const auto* o = qstyleoption_cast<const QStyleOptionSpinBox*>(option)) {
            QStyleOptionSpinBox kopie(*o);
            kopie.state |= State_KeyboardFocusChange;
            QProxyStyle::drawComplexControl(control, &kopie, painter, widget);
            return;
        }
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

void fokusSichtbarMachen() {
    if (dynamic_cast<FokusStil*>(QApplication::style()))
        return;
    QApplication::setStyle(new FokusStil(QStyleFactory::create(QApplication::style()->name())));
}
