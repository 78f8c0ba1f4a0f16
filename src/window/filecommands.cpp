#include "window/filecommands.h"

#include "files/programfile.h"
#include "session/usersettings.h"
#include "window/prompter.h"

#include <QFileInfo>
#include <QWidget>

namespace tql {
namespace {

// The file dialog's filter as the operator has always known it.
QString programFilter() {
    return FileCommands::tr("TQL400程式檔(*.tq4) | *.tq4");
}

}  // namespace

FileCommands::FileCommands(Program& program, Prompter& prompter, QWidget* window)
    : QObject(window), m_program(program), m_prompter(prompter), m_window(window) {}

void FileCommands::warn(const QString& text) {
    m_prompter.message(m_window, text, applicationTitle(), Prompter::Buttons::Ok,
                       Prompter::Icon::Warning);
}

// The dialog offers the program's own file.
FileCommands::SaveOutcome FileCommands::saveProgramAs() {
    const QString path = chooseSaveName(m_prompter, m_window, programFilter(), m_fileName);
    if (path.isEmpty()) {
        return SaveOutcome::NoName;
    }
    return saveProgramTo(path);
}

FileCommands::SaveOutcome FileCommands::saveProgramTo(const QString& path) {
    const SaveResult result = saveProgramFile(path, m_program.table(), m_program.RowCounter());
    switch (result.status) {
        case SaveStatus::Written:
            m_fileName = path;  // before the title follows the saved state
            m_program.markSaved();
            remember(path);
            return SaveOutcome::Saved;
        case SaveStatus::NothingToWrite:
            return SaveOutcome::NothingToWrite;
        case SaveStatus::Failed:
            break;
    }
    warn(result.error);
    return SaveOutcome::Failed;
}

void FileCommands::saveAsCommand() {
    saveProgramAs();
}

void FileCommands::saveCommand() {
    if (m_fileName.isEmpty()) {
        saveAsCommand();
        return;
    }
    saveProgramTo(m_fileName);
}

void FileCommands::clearProgram() {
    m_fileName.clear();
    m_program.clear();
}

// 取消 never discards work: like 結束, 是 saves first, 否 clears, 取消 leaves everything.
void FileCommands::newProgramCommand() {
    if (offerToSave()) {
        clearProgram();
    }
}

bool FileCommands::offerToSave() {
    if (!m_program.ProgramChanged()) {
        return true;
    }
    switch (m_prompter.message(m_window, tr("尚未存檔, 是否要存檔 ?"), applicationTitle(),
                               Prompter::Buttons::YesNoCancel, Prompter::Icon::Question)) {
        case Prompter::Answer::Yes: {
            // A program with a file is saved to it, as 儲存 does.
            const SaveOutcome saved =
                m_fileName.isEmpty() ? saveProgramAs() : saveProgramTo(m_fileName);
            return saved == SaveOutcome::Saved || saved == SaveOutcome::NothingToWrite;
        }
        case Prompter::Answer::No:
            return true;
        case Prompter::Answer::Ok:
        case Prompter::Answer::Cancel:
            break;
    }
    return false;
}

void FileCommands::openProgramCommand() {
    if (!offerToSave()) {
        return;
    }
    const QString chosen = m_prompter.openFileName(m_window, programFilter());
    if (!chosen.isEmpty()) {
        openProgram(chosen);
    }
}

// A name Qt's text cannot hold (Big5 bytes on a UTF-8 system) is read by its bytes; the
// program then has no file to save back to, since a save writes names in the system's
// encoding: 儲存 asks for one, as for a new program.
void FileCommands::openProgram(const NativeName& name) {
    if (const QString path = name.path(); !path.isEmpty() || name.bytes.isEmpty()) {
        openProgram(path);
        return;
    }
    const LoadResult loaded = loadProgramFile(name);
    if (!loaded.program) {
        warn(loaded.error);
        return;
    }
    m_fileName.clear();
    m_program.load(loaded.program->table, loaded.program->RowCounter);
    warn(tr("檔名「%1」不是系統的編碼: 程式已開啟, 儲存時請以另存新檔取一個檔名.")
             .arg(name.shown()));
    if (!loaded.notice.isEmpty()) {
        warn(loaded.notice);
    }
}

void FileCommands::openProgram(const QString& chosen) {
    const LoadResult loaded = loadProgramFile(chosen);
    if (!loaded.program) {
        warn(loaded.error);
        return;
    }
    m_fileName = chosen;
    m_program.load(loaded.program->table, loaded.program->RowCounter);
    remember(chosen);
    if (!loaded.notice.isEmpty()) {
        warn(loaded.notice);
    }
}

namespace {

const QString kRecentKey = QStringLiteral("files/recent");

}  // namespace

QStringList FileCommands::recentFiles() const {
    return userSettings().value(kRecentKey).toStringList().mid(0, kRecentFiles);
}

// The same file by another spelling of its path is one file.
void FileCommands::remember(const QString& path) {
    const QString file = QFileInfo(path).absoluteFilePath();
    QStringList recent = recentFiles();
    recent.removeAll(file);
    recent.prepend(file);
    userSettings().setValue(kRecentKey, recent.mid(0, kRecentFiles));
}

void FileCommands::openRecent(const QString& path) {
    if (offerToSave()) {
        openProgram(path);
    }
}

void FileCommands::forgetMissingFiles() {
    QStringList recent = recentFiles();
    recent.removeIf([](const QString& file) { return !QFileInfo::exists(file); });
    userSettings().setValue(kRecentKey, recent);
}

}  // namespace tql
