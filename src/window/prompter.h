#pragma once

#include "session/prompter.h"

#include <QString>

namespace tql {

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
