#include "window/prompter.h"

#include "session/usersettings.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace tql {

Prompter::Answer WidgetPrompter::message(QWidget* parent, const QString& text, const QString& title,
                                         Buttons buttons, Icon icon) {
    QMessageBox box(parent != nullptr ? parent : QApplication::activeWindow());
    box.setText(text);
    box.setWindowTitle(title);
    switch (icon) {
        case Icon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case Icon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
    }
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Ok:
            return Answer::Ok;
        default:
            return Answer::Cancel;
    }
}

QString WidgetPrompter::inputBox(QWidget* parent, const QString& prompt, const QString& title,
                                 const QString& defaultText) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

namespace {

const QString kFolderKey = QStringLiteral("files/folder");

// Qt's own dialog, not the desktop's, which would ask about replacing the name typed before
// the suffix is added: chooseSaveName asks about the name that will be written.
QString chooseFile(QWidget* parent, const QString& filter, const QString& start,
                   QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, QString(),
                       start.isEmpty() ? userSettings().value(kFolderKey).toString() : start,
                       qtFileFilter(filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptSave) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    userSettings().setValue(kFolderKey, QFileInfo(chosen).absolutePath());
    return chosen;
}

}  // namespace

QString WidgetPrompter::saveFileName(QWidget* parent, const QString& filter, const QString& start) {
    return chooseFile(parent, filter, start, QFileDialog::AcceptSave);
}

QString WidgetPrompter::openFileName(QWidget* parent, const QString& filter, const QString& start) {
    return chooseFile(parent, filter, start, QFileDialog::AcceptOpen);
}

QString chooseSaveName(Prompter& prompter, QWidget* parent, const QString& filter,
                       const QString& start) {
    QString path = prompter.saveFileName(parent, filter, start);
    const QString suffix = filterSuffix(filter);
    if (path.isEmpty()) {
        return {};
    }
    if (!suffix.isEmpty() && !path.endsWith(u'.' + suffix, Qt::CaseInsensitive)) {
        path += u'.' + suffix;
    }
    if (QFileInfo::exists(path) &&
        prompter.message(parent,
                         QApplication::translate("FileCommands", "%1 已存在, 是否取代?")
                             .arg(QFileInfo(path).fileName()),
                         applicationTitle(), Prompter::Buttons::YesNo,
                         Prompter::Icon::Warning) != Prompter::Answer::Yes) {
        return {};
    }
    return path;
}

QString filterSuffix(const QString& filter) {
    const QString pattern = filter.mid(filter.indexOf(u'|') + 1).trimmed();
    return pattern.startsWith(QStringLiteral("*.")) ? pattern.mid(2) : QString();
}

QString qtFileFilter(const QString& filter) {
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0) {
        return filter.trimmed();
    }
    const QString description = filter.left(bar).trimmed();
    const QString pattern = filter.mid(bar + 1).trimmed();
    return description.contains(pattern) ? description
                                         : QStringLiteral("%1 (%2)").arg(description, pattern);
}

}  // namespace tql
