#pragma once

#include "controller/machine.h"
#include "program/programtable.h"

#include <QString>

namespace tql {

// What the controller refuses in the text a row became, in the operator's words: one text
// for each kind of fault, whether the checks foresee it or the dry run meets it. `row` is
// the program row the faulty line came from; a label it names is named by its own text.
QString faultText(const controller::Fault& fault, const Row& row);

}  // namespace tql
