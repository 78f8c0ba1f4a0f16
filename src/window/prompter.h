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

// The real boxes: QMessageBox, QInputDialog, QFileDialog. The file dialogs open in the
// folder last chosen in any of them (kept in the user's settings), and the save dialog
// adds the filter's suffix before it asks whether to replace an existing file.
class WidgetPrompter final : public Prompter {
public:
    Answer message(QWidget* parent, const QString& text, const QString& title, Buttons buttons,
                   Icon icon) override;
    QString inputBox(QWidget* parent, const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString saveFileName(QWidget* parent, const QString& filter, const QString& start) override;
    QString openFileName(QWidget* parent, const QString& filter, const QString& start) override;
};

// "TQL400程式檔(*.tq4) | *.tq4" as Qt's file dialog understands it: "TQL400程式檔(*.tq4)".
QString qtFileFilter(const QString& filter);
// The suffix a save dialog adds to a bare name: "tq4" for "… | *.tq4"; empty for "*".
QString filterSuffix(const QString& filter);

}  // namespace tql
