#pragma once

#include <QString>

class QWidget;

namespace tql {

// The window's title, and the title of messages that carry no title of their own.
inline QString applicationTitle() {
    return QStringLiteral("PALDOR");
}

// The modal boxes the operator answers, behind one seam so tests can script the answers.
class Prompter {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Icon { None, Question, Warning };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompter() = default;

    // parent is the window the box stands in front of; none: the active window.
    virtual Answer message(QWidget* parent, const QString& text, const QString& title,
                           Buttons buttons = Buttons::Ok, Icon icon = Icon::None) = 0;
    // The typed text; empty when the operator cancels.
    virtual QString inputBox(QWidget* parent, const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;
    // A chosen file name, empty when none was chosen. filter is "description | pattern".
    // start is the file offered (its folder and name), empty for the folder last used.
    virtual QString saveFileName(QWidget* parent, const QString& filter,
                                 const QString& start = {}) = 0;
    virtual QString openFileName(QWidget* parent, const QString& filter,
                                 const QString& start = {}) = 0;
};

}  // namespace tql
