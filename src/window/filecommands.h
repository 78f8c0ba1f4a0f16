#pragma once

#include "files/programfile.h"
#include "program/program.h"

#include <QObject>

class QWidget;

namespace tql {

class Prompter;

// 建立新檔, 開啟舊檔 and 另存新檔, and the unsaved-changes question that 結束 and the close
// box ask too. The program file format and the saving live in files/programfile.*; these
// commands ask the operator and load, clear or mark the program. The prompter holds the
// console's line while their boxes are up.
class FileCommands final : public QObject {
    Q_OBJECT

public:
    FileCommands(Program& program, Prompter& prompter, QWidget* window);

    void newProgramCommand();
    void openProgramCommand();
    // Loads the file as 開啟舊檔 does once the operator has chosen it: a file that cannot
    // be loaded is said and changes nothing.
    void openProgram(const QString& path);
    // The same for a name given as bytes (the command line's), which need not be valid in
    // the system's encoding.
    void openProgram(const NativeName& name);
    void saveAsCommand();
    // 儲存: to the file last opened or saved, without a dialog; 另存新檔 when there is none.
    void saveCommand();
    // The file last opened or saved; empty for a new program.
    const QString& fileName() const { return m_fileName; }
    // Offers to save unsaved changes; false when the operator chose to stay.
    bool offerToSave();

    // 最近開啟的檔案: the last files opened or saved, the latest first, kept in the
    // operator's settings; opening one asks about unsaved changes first, as 開啟舊檔 does.
    static constexpr int kRecentFiles = 8;
    QStringList recentFiles() const;
    void openRecent(const QString& path);
    // The files no longer there go from the list.
    void forgetMissingFiles();

private:
    enum class SaveOutcome { Saved, NothingToWrite, NoName, Failed };

    SaveOutcome saveProgramAs();
    SaveOutcome saveProgramTo(const QString& path);
    void clearProgram();
    void warn(const QString& text);
    void remember(const QString& path);

    Program& m_program;
    Prompter& m_prompter;
    QWidget* m_window;
    QString m_fileName;
};

}  // namespace tql
