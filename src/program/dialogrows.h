#pragma once

#include "program/programtable.h"

#include <QString>

// Rows of the two move dialogs (MR relative, Form3 absolute), the custom step and the speed.
namespace tql {

Row relativeMoveRow(const QString& distance);

// The target text kept to digits and points, so that a taught reply such as "12.5" CR or a
// typed "1,234.5 mm" becomes a coordinate; one minus sign before the number stays, so a
// target on the negative side is not turned into the opposite position.
QString STRIM(const QString& text);

Row absoluteMoveRow(const QString& target);  // column 2 is STRIM(target)

Row customStepRow(const QString& step, const QString& comment);

Row speedRow(const QString& speed);

}  // namespace tql
