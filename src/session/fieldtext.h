#pragma once

#include <QString>

#include <optional>

// What the console and the teach dialog make of a field the operator typed or a reading the
// controller sent: the windows' rules for numbers and positions, apart from the line.
namespace tql {

// The position a teach tick takes from what it read. A controller that answers late leaves
// several replies in one read ("10.5\r11.5\r0\r"): the last complete one (ended by CR)
// counts, or the whole text when none is complete; blanks and LF around it are dropped.
QString teachReading(const QString& text);

// The position a reply tells (its teach reading), when that is a number.
std::optional<double> positionIn(const QString& reply);

// The target of a jog: the last position read (a teach reading) plus or minus the step,
// written as a plain number; nothing when either is not a number.
std::optional<QString> jogTarget(const QString& lastRead, const QString& step, bool up);

// Whether a field holds a number the controller can take for a move, speed or acceleration:
// an optional sign, digits with at most one decimal point, blanks around it ignored.
bool isNumberText(const QString& text);

// What the operator is told when a 定位, 加速度 or 速度 value is no number.
QString notNumberMessage(const QString& value);

}  // namespace tql
