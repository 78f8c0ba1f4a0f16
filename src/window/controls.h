#pragma once

#include <QRect>
#include <QString>

// What the main window's panels share in building their controls: each control carries its
// name as its objectName and stands at a fixed place in its frame.
namespace tql {

template <typename Control>
Control* placed(Control* control, const QString& name, const QRect& geometry) {
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

}  // namespace tql
