// The main window's menus: 檔案 with its recent files, 編輯, 設定 with the ports and the
// languages, 檢視, 說明.
#include "session/language.h"
#include "session/usersettings.h"
#include "window/consolepanel.h"
#include "window/dryrunwindow.h"
#include "window/filecommands.h"
#include "window/form1.h"
#include "window/listingexport.h"
#include "window/programpanel.h"
#include "window/prompter.h"
#include "window/runhistorywindow.h"
#include "window/sessionclient.h"
#include "window/wiremonitor.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>

namespace tql {

namespace {

// A menu command with its objectName, caption and keys.
QAction* command(QMenu* menu, const char* name, const QString& caption, const QKeySequence& keys) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromUtf8(name));
    action->setShortcut(keys);
    return action;
}

QMenu* menu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* added = bar->addMenu(caption);
    added->setObjectName(QString::fromUtf8(name));
    return added;
}

}  // namespace

void FORM1::buildMenu() {
    buildFileMenu();
    buildEditMenu();
    buildSettingsMenu();
    QMenu* view = m_viewMenu = menu(menuBar(), "檢視", tr("檢視(&V)"));
    m_monitor = new WireMonitor(m_session.wireLog(), m_prompter, this);
    QAction* monitor = command(view, "通訊監視", tr("通訊監視"), {});
    monitor->setCheckable(true);
    connect(monitor, &QAction::toggled, m_monitor, &QWidget::setVisible);
    connect(m_monitor, &WireMonitor::hidden, monitor, [monitor] { monitor->setChecked(false); });

    QMenu* help = menu(menuBar(), "說明", tr("說明(&H)"));
    connect(command(help, "操作說明", tr("操作說明"), QKeySequence::HelpContents),
            &QAction::triggered, this, &FORM1::walkthrough);
    connect(command(help, "按鍵", tr("按鍵"), {}), &QAction::triggered, this, &FORM1::keys);
    connect(command(help, "沒有機器時", tr("沒有機器時"), {}), &QAction::triggered, this,
            &FORM1::withoutAMachine);
    help->addSeparator();
    connect(command(help, "關於", tr("關於(&A)"), {}), &QAction::triggered, this, &FORM1::about);

    QAction* quit = menuBar()->addAction(tr("結束(&E)"));
    quit->setObjectName(QStringLiteral("結束"));
    quit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    connect(quit, &QAction::triggered, this, &QWidget::close);
}

void FORM1::buildFileMenu() {
    QMenu* file = menu(menuBar(), "檔案", tr("檔案(&F)"));
    connect(command(file, "建立新檔", tr("建立新檔(&N)"), QKeySequence::New), &QAction::triggered,
            m_files, &FileCommands::newProgramCommand);
    connect(command(file, "開啟舊檔", tr("開啟舊檔(&O)"), QKeySequence::Open), &QAction::triggered,
            m_files, &FileCommands::openProgramCommand);
    connect(command(file, "儲存", tr("儲存(&S)"), QKeySequence::Save), &QAction::triggered, m_files,
            &FileCommands::saveCommand);
    connect(
        command(file, "另存新檔", tr("另存新檔(&A)"), QKeySequence(QStringLiteral("Ctrl+Shift+S"))),
        &QAction::triggered, m_files, &FileCommands::saveAsCommand);
    file->addSeparator();
    // The listing is titled by the program's file, as the window is.
    const auto exportListingAs = [this](bool pdf) {
        const QString title = m_files->fileName().isEmpty()
                                  ? tr("未命名的程式")
                                  : QFileInfo(m_files->fileName()).fileName();
        exportListing(m_program.table(), m_program.RowCounter(), title, pdf, m_prompter, this);
    };
    connect(command(file, "列印清單", tr("列印清單 (PDF)(&P)..."), QKeySequence::Print),
            &QAction::triggered, this, [exportListingAs] { exportListingAs(true); });
    connect(command(file, "匯出清單", tr("匯出清單 (CSV)(&E)..."), {}), &QAction::triggered, this,
            [exportListingAs] { exportListingAs(false); });
    file->addSeparator();
    QMenu* recent = file->addMenu(tr("最近開啟的檔案(&R)"));
    recent->setObjectName(QStringLiteral("最近開啟的檔案"));
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { listRecentFiles(recent); });
}

// Rebuilt each time it opens: a file gone since is greyed, and may be taken off the list.
void FORM1::listRecentFiles(QMenu* recent) {
    recent->clear();
    bool missing = false;
    int n = 0;
    for (const QString& path : m_files->recentFiles()) {
        const QString shown = QDir::toNativeSeparators(path);
        QAction* entry = recent->addAction(QStringLiteral("&%1 %2").arg(++n).arg(shown));
        entry->setObjectName(QStringLiteral("最近開啟的檔案 %1").arg(n));
        entry->setEnabled(QFileInfo::exists(path));
        missing = missing || !entry->isEnabled();
        connect(entry, &QAction::triggered, m_files, [this, path] { m_files->openRecent(path); });
    }
    if (n == 0) {
        recent->addAction(tr("(沒有)"))->setEnabled(false);
        return;
    }
    recent->addSeparator();
    QAction* forget = recent->addAction(tr("移除不存在的檔案"));
    forget->setObjectName(QStringLiteral("移除不存在的檔案"));
    forget->setEnabled(missing);
    connect(forget, &QAction::triggered, m_files, &FileCommands::forgetMissingFiles);
}

void FORM1::buildEditMenu() {
    QMenu* edit = menu(menuBar(), "編輯", tr("編輯(&D)"));
    QAction* undo = command(edit, "復原", tr("復原"), QKeySequence::Undo);
    connect(undo, &QAction::triggered, m_editor, &ProgramPanel::undo);
    QAction* redo = command(edit, "重做", tr("重做"), QKeySequence(QStringLiteral("Ctrl+Y")));
    connect(redo, &QAction::triggered, m_editor, &ProgramPanel::redo);
    // The actions name what they take back or do again: "復原 輸入一列".
    const auto showHistory = [this, undo, redo] {
        undo->setEnabled(m_program.canUndo());
        undo->setText(tr("復原 %1").arg(m_program.undoText()).trimmed());
        redo->setEnabled(m_program.canRedo());
        redo->setText(tr("重做 %1").arg(m_program.redoText()).trimmed());
    };
    connect(&m_program, &Program::historyChanged, this, showHistory);
    showHistory();
    edit->addSeparator();
    // The rows the list highlights; a text field with the focus keeps these keys for its text.
    connect(command(edit, "剪下", tr("剪下"), QKeySequence::Cut), &QAction::triggered, m_editor,
            &ProgramPanel::cutRows);
    connect(command(edit, "複製", tr("複製"), QKeySequence::Copy), &QAction::triggered, m_editor,
            &ProgramPanel::copyRows);
    connect(command(edit, "貼上", tr("貼上"), QKeySequence::Paste), &QAction::triggered, m_editor,
            &ProgramPanel::pasteRows);
    connect(command(edit, "上移", tr("上移"), QKeySequence(QStringLiteral("Alt+Up"))),
            &QAction::triggered, m_editor, [this] { m_editor->moveRows(-1); });
    connect(command(edit, "下移", tr("下移"), QKeySequence(QStringLiteral("Alt+Down"))),
            &QAction::triggered, m_editor, [this] { m_editor->moveRows(1); });
    edit->addSeparator();
    connect(command(edit, "檢查程式", tr("檢查程式"), QKeySequence(Qt::Key_F7)),
            &QAction::triggered, m_editor, &ProgramPanel::checkProgram);
    connect(m_console->checkButton(), &QPushButton::clicked, m_editor, &ProgramPanel::checkProgram);
    auto* dryRun = new DryRunWindow(
        m_program, m_prompter,
        {[this] { return m_session.lastPosition(); }, [this] { return m_editor->highlightedRow(); },
         [this] { return m_files->fileName(); }, RunHistory::defaultPath()},
        m_client, this);
    connect(dryRun, &DryRunWindow::rowChosen, this, [this](int row) {
        activateWindow();
        m_editor->selectRow(row);
    });
    connect(dryRun, &DryRunWindow::executingRow, m_editor, &ProgramPanel::showExecuting);
    connect(dryRun, &DryRunWindow::machineRow, m_editor, &ProgramPanel::showMachineRow);
    connect(dryRun, &DryRunWindow::machineNote, this,
            [this](const QString& note) { statusBar()->showMessage(note); });
    connect(command(edit, "模擬執行", tr("模擬執行"), QKeySequence(Qt::Key_F8)),
            &QAction::triggered, dryRun, [dryRun] {
                dryRun->show();
                dryRun->raise();
                dryRun->run();
            });
    // Only for a cell: one controller has its 上傳.
    m_uploadToSeveral = command(edit, "UploadToSeveral", tr("上傳到多台控制器..."), {});
    m_uploadToSeveral->setEnabled(false);
    connect(m_uploadToSeveral, &QAction::triggered, this, &FORM1::uploadToSeveral);
    // The controller's own run of the program it stores, measured beside the model's.
    connect(command(edit, "量測執行", tr("量測執行"), {}), &QAction::triggered, dryRun,
            &DryRunWindow::measure);
    auto* history = new RunHistoryWindow(m_prompter, RunHistory::defaultPath(), this);
    connect(command(edit, "執行紀錄", tr("執行紀錄"), {}), &QAction::triggered, history, [history] {
        history->show();
        history->raise();
    });
    connect(dryRun, &DryRunWindow::runRecorded, history, [history] {
        if (history->isVisible()) {
            history->reload();
        }
    });
}

void FORM1::buildSettingsMenu() {
    QMenu* settings = menu(menuBar(), "設定", tr("設定(&S)"));
    m_portMenu = settings->addMenu(QStringLiteral("COM_PORT"));
    m_portMenu->setObjectName(QStringLiteral("COM_PORT"));
    m_portChoices = new QActionGroup(this);
    connect(m_portMenu, &QMenu::aboutToShow, this, &FORM1::listSystemPorts);
    for (int n = 1; n <= 4; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        QAction* action = command(m_portMenu, name.toUtf8().constData(), name, {});
        action->setData(QString::number(n));
        action->setCheckable(true);
        m_portChoices->addAction(action);
        connect(action, &QAction::triggered, this, [this, n] { choosePort(QString::number(n)); });
    }
    connect(command(m_portMenu, "其他", tr("其他..."), {}), &QAction::triggered, this,
            &FORM1::otherPort);
    // The shadow run only says a difference and offers 停止, unless the operator chose
    // that it stops the controller's program at once.
    QAction* stopOnDifference =
        command(settings, "StopOnDifference", tr("實機與程式不符時立即停止"), {});
    stopOnDifference->setCheckable(true);
    stopOnDifference->setChecked(
        userSettings().value(QStringLiteral("shadow/stopOnDifference")).toBool());
    connect(stopOnDifference, &QAction::toggled, this, [](bool on) {
        userSettings().setValue(QStringLiteral("shadow/stopOnDifference"), on);
    });
    connect(command(settings, "控制器", tr("控制器..."), {}), &QAction::triggered, this,
            &FORM1::showCellDialog);
    buildLanguageMenu(settings);
}

// In both languages, so an operator who cannot read the one shown still finds it; each
// language is named in itself.
void FORM1::buildLanguageMenu(QMenu* settings) {
    QMenu* languages = settings->addMenu(QStringLiteral("語言 / Language"));
    languages->setObjectName(QStringLiteral("語言"));
    auto* choices = new QActionGroup(this);
    const QString chosen = chosenLanguage();
    const auto add = [&](const QString& language, const QString& name) {
        QAction* action = languages->addAction(name);
        action->setObjectName(QStringLiteral("語言:") +
                              (language.isEmpty() ? QStringLiteral("系統") : language));
        action->setCheckable(true);
        action->setChecked(language == chosen);
        choices->addAction(action);
        connect(action, &QAction::triggered, this, [this, language] {
            if (setChosenLanguage(language)) {
                // In both languages: the operator may read only the one chosen.
                m_prompter.message(this,
                                   QStringLiteral("新的語言在下次啟動時生效.\n"
                                                  "The new language takes effect when the tool "
                                                  "starts again."),
                                   applicationTitle());
            } else {
                m_prompter.message(this, tr("無法儲存語言的選擇, 下次啟動時語言不變."),
                                   applicationTitle(), Prompter::Buttons::Ok,
                                   Prompter::Icon::Warning);
            }
        });
    };
    add({}, tr("系統"));
    add(kSourceLanguage, languageName(kSourceLanguage));
    for (const QString& language : catalogueLanguages()) {
        add(language, languageName(language));
    }
}

void FORM1::about() {
    m_prompter.message(this,
                       tr("TQL400 教導程式 %1\n"
                          "TQL400 單軸運動控制器的教導與程式編寫工具.\n\n"
                          "Copyright 2026 The tql400 developers.\n"
                          "授權: 專有軟體, 保留所有權利.")
                           .arg(QCoreApplication::applicationVersion()),
                       tr("關於"));
}

// The walkthrough as installed beside the tool (share/doc/tql400), opened by the system's
// viewer for it.
void FORM1::walkthrough() {
    const QString path = QDir(QCoreApplication::applicationDirPath())
                             .filePath(QStringLiteral("../share/doc/tql400/walkthrough.md"));
    if (!QFileInfo::exists(path) || !QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        m_prompter.message(this,
                           tr("找不到操作說明 %1; 原始碼中的 docs/walkthrough.md 是同一份.")
                               .arg(QDir::toNativeSeparators(QDir::cleanPath(path))),
                           tr("操作說明"));
    }
}

void FORM1::keys() {
    m_prompter.message(this,
                       tr("F7\t檢查程式\n"
                          "F8\t模擬執行\n"
                          "F9\t中斷點 (程式列表中)\n"
                          "F12\t停止控制器的程式\n"
                          "Esc\t取消插入或修改\n"
                          "Delete\t刪除選取的列\n"
                          "Ctrl+Z / Ctrl+Y\t復原 / 重做\n"
                          "Ctrl+X / Ctrl+C / Ctrl+V\t剪下 / 複製 / 貼上 選取的列\n"
                          "Alt+Up / Alt+Down\t上移 / 下移 選取的列\n"
                          "拖放\t移動選取的列\n"
                          "Ctrl+N / Ctrl+O / Ctrl+S\t建立新檔 / 開啟舊檔 / 儲存\n"
                          "Ctrl+P\t列印清單 (PDF)\n"
                          "Ctrl+Q\t結束"),
                       tr("按鍵"));
}

void FORM1::withoutAMachine() {
    m_prompter.message(this,
                       tr("沒有控制器時, 以 tql400 --simulator 啟動: 工具啟動隨附的模擬器, "
                          "這次執行使用它的連接埠 (DATA.TXT 不變), 關閉工具時模擬器也結束.\n"
                          "模擬器把 4 個輸出接回輸入 5 到 8."),
                       tr("沒有機器時"));
}

}  // namespace tql
