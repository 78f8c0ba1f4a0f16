#pragma once

#include <QIcon>

namespace tql {

// The 28 row-kind pictures (16 x 15 at 100 %, drawn for the screen's pixel ratio), numbered
// as the row kinds; 0 or any other number gives a null icon.
QIcon rowIcon(int number);

}  // namespace tql
