#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

#include <vector>

// What the main window's panels share in building their controls: each control carries its
// name as its objectName and stands at a fixed place in its frame.
namespace tql {

// The colours a finding or a run's end is told in: an error, a warning.
inline constexpr QColor kErrorColour{178, 34, 34};
inline constexpr QColor kWarningColour{150, 100, 0};
// The slide's positions as a measured run polled them, orange over the model's blue.
inline constexpr QColor kMeasuredColour{230, 120, 20};

template <typename Control>
Control* placed(Control* control, const QString& name, const QRect& geometry) {
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

// How far the fixed places stretch so that every text fits: not at all with the default
// font in Chinese, wider for the longer words of another language, wider and taller for a
// larger font. Edges are stretched, so neighbours stay apart as they were.
struct Stretch {
    double x = 1;
    double y = 1;

    QRect operator()(const QRect& design) const;
    QSize operator()(const QSize& design) const;
    bool operator==(const Stretch&) const = default;
};

// The room a control's text takes (its caption, its indicator; a field's line height).
QSize textRoom(const QWidget& control);

// The stretch that gives every one of these controls the room of its text, at its current
// (design) size.
Stretch stretchFor(const std::vector<QWidget*>& controls);
// The controls moved from their design places to the stretched ones.
void stretchPlaced(const std::vector<QWidget*>& controls, const Stretch& stretch);

}  // namespace tql
