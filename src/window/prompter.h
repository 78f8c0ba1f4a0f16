#pragma once

#include "session/prompter.h"

#include <QString>

namespace tql {

// The real boxes: QMessageBox, QInputDialog, QFileDialog. The file dialogs open in the
// folder last chosen in any of them (kept in the user's settings). The save dialog returns
// the name as typed and asks nothing: chooseSaveName adds the suffix and asks about the name
// that will be written.
class WidgetPrompter final : public Prompter {
public:
    Answer message(QWidget* parent, const QString& text, const QString& title, Buttons buttons,
                   Icon icon) override;
    QString inputBox(QWidget* parent, const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QString saveFileName(QWidget* parent, const QString& filter, const QString& start) override;
    QString openFileName(QWidget* parent, const QString& filter, const QString& start) override;
};

// The name a save will write, chosen through the prompter's save dialog: the filter's
// suffix added to a name that does not end with it ("prog.v2" becomes "prog.v2.tq4"), and
// an existing file asked about once, by that name. Empty when none was chosen or the
// operator would not replace the file.
QString chooseSaveName(Prompter& prompter, QWidget* parent, const QString& filter,
                       const QString& start = {});

// "TQL400程式檔(*.tq4) | *.tq4" as Qt's file dialog understands it: "TQL400程式檔(*.tq4)".
QString qtFileFilter(const QString& filter);
// The suffix a save adds to a name without it: "tq4" for "… | *.tq4"; empty for "*".
QString filterSuffix(const QString& filter);

}  // namespace tql
