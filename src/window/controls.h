#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QString>

#include <map>

// What the main window's panels share in building their controls: each control carries its
// name as its objectName and stands at a fixed place in its frame.
namespace tql {

template <typename Control>
Control* placed(Control* control, const QString& name, const QRect& geometry) {
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

// The panel's controls by name, for the groups it switches together.
struct Controls {
    std::map<QString, QPushButton*> buttons;
    std::map<QString, QLineEdit*> fields;

    QPushButton* button(QWidget* parent, const QString& name, const QString& caption,
                        const QRect& geometry) {
        return buttons[name] = placed(new QPushButton(caption, parent), name, geometry);
    }
    QLineEdit* field(QWidget* parent, const QString& name, const QRect& geometry) {
        return fields[name] = placed(new QLineEdit(parent), name, geometry);
    }
    QPushButton* button(const char* name) const { return buttons.at(QString::fromUtf8(name)); }
    QLineEdit* field(const char* name) const { return fields.at(QString::fromUtf8(name)); }
};

}  // namespace tql
