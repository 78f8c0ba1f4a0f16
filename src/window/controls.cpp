#include "window/controls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace tql {

QRect Stretch::operator()(const QRect& design) const {
    const int left = int(std::lround(design.left() * x));
    const int top = int(std::lround(design.top() * y));
    const int right = int(std::lround((design.left() + design.width()) * x));
    const int bottom = int(std::lround((design.top() + design.height()) * y));
    return {left, top, right - left, bottom - top};
}

QSize Stretch::operator()(const QSize& design) const {
    return {int(std::lround(design.width() * x)), int(std::lround(design.height() * y))};
}

QSize textRoom(const QWidget& control) {
    const QFontMetrics metrics(control.font());
    const int line = metrics.height();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        const int text = metrics.horizontalAdvance(button->text());
        if (qobject_cast<const QCheckBox*>(&control) ||
            qobject_cast<const QRadioButton*>(&control)) {
            const QStyle* style = control.style();
            const int indicator = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &control);
            const int spacing =
                style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &control);
            return {indicator + spacing + text + 2, std::max(line, indicator)};
        }
        // The frame and a little air on each side of the caption.
        return {text + 8, line + 4};
    }
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        return {metrics.horizontalAdvance(label->text()), line};
    }
    if (qobject_cast<const QLineEdit*>(&control) != nullptr) {
        return {0, line + 4};
    }
    return {0, 0};
}

Stretch stretchFor(const std::vector<QWidget*>& controls) {
    Stretch stretch;
    for (const QWidget* control : controls) {
        const QSize room = textRoom(*control);
        stretch.x = std::max(stretch.x, double(room.width()) / control->width());
        stretch.y = std::max(stretch.y, double(room.height()) / control->height());
    }
    // Up to the next hundredth, so a rounded edge never takes back the last pixel a text
    // needs.
    const auto up = [](double factor) { return std::ceil(factor * 100 - 1e-9) / 100; };
    return {up(stretch.x), up(stretch.y)};
}

void stretchPlaced(const std::vector<QWidget*>& controls, const Stretch& stretch) {
    if (stretch == Stretch{}) {
        return;
    }
    for (QWidget* control : controls) {
        control->setGeometry(stretch(control->geometry()));
    }
}

}  // namespace tql
