#include "files/programfile.h"
#include "support/formfixture.h"
#include "support/quietoffscreen.h"
#include "window/prompter.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

using namespace tql;
using Answer = Prompter::Answer;

namespace {

const QString kUnsaved = "尚未存檔, 是否要存檔 ?";

struct Window : tql::test::FormFixture {
    // Two rows entered through the buttons: the program is now unsaved.
    void enterProgram() const {
        click("Command12");
        click("Command4");
        click("Command9");
    }
    int listed() const { return list()->topLevelItemCount(); }
    QString path(const QString& name) const { return dir.filePath(name); }
};

}  // namespace

class TestFileCommands : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tql::test::installQuietHandler(); }

    void saveAsWritesTheFileAndClearsTheChangeMark() {
        Window w;
        w.enterProgram();
        QVERIFY(w.form->program().ProgramChanged());
        w.prompter.fileNames = {w.path("first")};
        w.trigger("另存新檔");
        QVERIFY(!w.form->program().ProgramChanged());
        const LoadResult saved = loadProgramFile(w.path("first.tq4"));
        QVERIFY(saved.program);
        QCOMPARE(saved.program->RowCounter, 2);
        QCOMPARE(saved.program->table[2][0], QString("RET"));

        // No name chosen: nothing written, nothing changed.
        w.click("Command13");
        w.trigger("另存新檔");
        QVERIFY(w.form->program().ProgramChanged());
        QCOMPARE(loadProgramFile(w.path("first.tq4")).program->RowCounter, 2);
    }

    // 列印清單 writes a PDF, 匯出清單 a CSV, each to the name chosen with its suffix.
    void theListingAsPdfAndCsv() {
        Window w;
        w.enterProgram();
        w.prompter.fileNames = {w.path("listing"), w.path("listing")};
        w.trigger("列印清單");
        w.trigger("匯出清單");
        QFile pdf(w.path("listing.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF"));
        QFile csv(w.path("listing.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll().count("\r\n"), 3);  // the header and the two rows
    }

    // The name that will be written (the suffix added to a name without it, "prog.v2"
    // too) is asked about once before it replaces a file; the dialog offers the program's
    // own file.
    void saveAsAsksBeforeReplacing_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("rowsInFile");
        QTest::newRow("No keeps the old file") << "prog"
                                               << "prog.tq4" << int(Answer::No) << 1;
        QTest::newRow("Yes replaces it") << "prog"
                                         << "prog.tq4" << int(Answer::Yes) << 2;
        QTest::newRow("the name as typed") << "prog.tq4"
                                           << "prog.tq4" << int(Answer::Yes) << 2;
        QTest::newRow("another suffix") << "prog.v2"
                                        << "prog.v2.tq4" << int(Answer::No) << 1;
    }

    void saveAsAsksBeforeReplacing() {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QFETCH(int, answer);
        QFETCH(int, rowsInFile);
        Window w;
        w.click("Command12");
        w.click("Command4");
        w.prompter.fileNames = {w.path(written)};
        w.trigger("另存新檔");
        w.click("Command9");
        w.prompter.fileNames = {w.path(typed)};
        w.prompter.answers = {Answer(answer)};
        w.trigger("另存新檔");
        QCOMPARE(w.prompter.fileStarts.back(), w.path(written));
        QCOMPARE(w.prompter.messages.size(), size_t(1));
        QCOMPARE(w.prompter.messages[0].text, written + " 已存在, 是否取代?");
        QCOMPARE(loadProgramFile(w.path(written)).program->RowCounter, rowsInFile);
        QVERIFY(!QFile::exists(w.path(typed)) || typed == written);
        QCOMPARE(w.form->program().ProgramChanged(), rowsInFile == 1);
    }

    // 是 at the unsaved-changes question saves a program that has a file to that file.
    void unsavedQuestionSavesToTheProgramsFile() {
        Window w;
        w.enterProgram();
        w.prompter.fileNames = {w.path("kept")};
        w.trigger("另存新檔");
        w.click("Command13");
        w.prompter.answers = {Answer::Yes};
        w.trigger("建立新檔");
        QCOMPARE(w.prompter.fileDialogs, 1);
        QCOMPARE(loadProgramFile(w.path("kept.tq4")).program->RowCounter, 3);
        QCOMPARE(w.listed(), 0);
    }

    // The real save dialog hands back the name as typed and asks nothing (the one question is
    // about the name with its suffix), and every file dialog opens in the folder chosen last.
    void realDialogsAskNothingAndRememberTheFolder() {
        QTemporaryDir home;
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home.filePath(".config").toLocal8Bit());
        const QString folder = home.filePath("programs");
        QDir().mkpath(folder);
        WidgetPrompter prompter;
        QString suffix;
        QString opened;
        bool confirms = false;
        const auto answer = [&](const QString& typed) {
            QTimer::singleShot(0, [&, typed] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog != nullptr);
                suffix = dialog->defaultSuffix();
                confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
                opened = dialog->directory().absolutePath();
                dialog->selectFile(typed);
                static_cast<QDialog*>(dialog)->accept();  // as the dialog's own 儲存
            });
        };
        answer(folder + "/prog.v2");
        QCOMPARE(prompter.saveFileName(nullptr, "TQL400程式檔(*.tq4) | *.tq4", {}),
                 folder + "/prog.v2");
        QVERIFY(suffix.isEmpty());
        QVERIFY(!confirms);
        answer(folder + "/other.txt");
        prompter.saveFileName(nullptr, "通訊記錄(*.txt) | *.txt", {});
        QCOMPARE(opened, folder);
    }

    void failedSaveKeepsTheChangeMark() {
        Window w;
        w.enterProgram();
        w.prompter.fileNames = {w.path("no/such/folder/p.tq4")};
        w.trigger("另存新檔");
        QVERIFY(w.form->program().ProgramChanged());
        QCOMPARE(w.prompter.messages.size(), size_t(1));
        QVERIFY(w.prompter.messages[0].text.contains("p.tq4"));
    }

    void newProgram_data() {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("cleared");
        QTest::addColumn<bool>("written");
        QTest::newRow("unchanged: cleared, no question") << false << -1 << "" << true << false;
        QTest::newRow("Yes and a name: saved, cleared")
            << true << int(Answer::Yes) << "n" << true << true;
        QTest::newRow("Yes and no name: program stays")
            << true << int(Answer::Yes) << "" << false << false;
        QTest::newRow("No: cleared without saving")
            << true << int(Answer::No) << "" << true << false;
        QTest::newRow("Cancel: program stays")
            << true << int(Answer::Cancel) << "" << false << false;
    }

    void newProgram() {
        QFETCH(bool, changed);
        QFETCH(int, answer);
        QFETCH(QString, fileName);
        QFETCH(bool, cleared);
        QFETCH(bool, written);
        Window w;
        w.enterProgram();
        if (!changed) {
            w.form->program().markSaved();
        }
        if (answer >= 0) {
            w.prompter.answers = {Answer(answer)};
        }
        if (!fileName.isEmpty()) {
            w.prompter.fileNames = {w.path(fileName)};
        }
        w.trigger("建立新檔");

        QCOMPARE(w.messages(), changed ? QStringList{kUnsaved} : QStringList{});
        if (changed) {
            QCOMPARE(w.prompter.messages[0].buttons, Prompter::Buttons::YesNoCancel);
            QCOMPARE(w.prompter.messages[0].icon, Prompter::Icon::Question);
            QCOMPARE(w.prompter.messages[0].title, QString("PALDOR"));
        }
        QCOMPARE(w.form->program().RowCounter(), cleared ? 0 : 2);
        QCOMPARE(w.listed(), cleared ? 0 : 2);
        QCOMPARE(w.form->program().ProgramChanged(), !cleared);
        QCOMPARE(QFile::exists(w.path("n.tq4")), written);
        QCOMPARE(w.form->program().row(0), headerRow());
    }

    void openLoadsIntoTheEditor() {
        Window source;
        source.enterProgram();
        source.prompter.fileNames = {source.path("p.tq4")};
        source.trigger("另存新檔");

        Window w;
        w.prompter.fileNames = {source.path("p.tq4")};
        w.trigger("開啟舊檔");
        QCOMPARE(w.form->program().RowCounter(), 2);
        QCOMPARE(w.form->program().CurrentRow(), 0);  // the operator chooses a row
        QVERIFY(!w.form->program().ProgramChanged());
        QCOMPARE(w.listed(), 2);
        QCOMPARE(w.form->program().row(1)[0], QString("HOME"));

        // Opening clears the change mark of the program it replaces; a file with lines left
        // unread opens with a word about them.
        w.form->program().markChanged();
        w.prompter.answers = {Answer::No};
        QFile cut(w.path("cut.tq4"));
        QVERIFY(cut.open(QIODevice::WriteOnly));
        cut.write(
            "FUNCTINO    DATA        XPOINT      PS          PS\r\n"
            "HOME        x           -           -           -\r\n\r\n"
            "HOME        x           -           -           -\r\n");
        cut.close();
        w.prompter.fileNames = {cut.fileName()};
        w.trigger("開啟舊檔");
        QVERIFY(!w.form->program().ProgramChanged());
        QCOMPARE(w.form->program().RowCounter(), 1);
        QCOMPARE(w.messages().last(), QString("第 3 行過短, 讀取到此為止; 之後還有 1 行未讀入."));
    }

    // tql400 FILE.tq4: opened as 開啟舊檔 opens it, without a dialog; a file that cannot be
    // loaded is said, and the program stays empty.
    void fileNamedOnTheCommandLine() {
        Window source;
        source.enterProgram();
        source.prompter.fileNames = {source.path("p.tq4")};
        source.trigger("另存新檔");

        Window w;
        w.form->openFile({QFile::encodeName(source.path("p.tq4"))});
        QCOMPARE(w.prompter.fileDialogs, 0);
        QCOMPARE(w.form->program().RowCounter(), 2);
        QVERIFY(w.form->windowTitle().endsWith(" - p.tq4"));

#ifdef Q_OS_UNIX
        // A name in Big5 (測試.tq4, copied from an old PC) on a UTF-8 system: read by its
        // bytes; saving asks for a name, since no name of the system's spells it.
        const QByteArray big5 = QFile::encodeName(source.dir.path()) + "/\xb4\xfa\xb8\xd5.tq4";
        {
            QFile in(source.path("p.tq4"));
            in.open(QIODevice::ReadOnly);
            const QByteArray bytes = in.readAll();
            FILE* out = std::fopen(big5.constData(), "wb");
            QVERIFY(out != nullptr);
            std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
            std::fclose(out);
        }
        Window named;
        named.form->openFile({big5});
        QCOMPARE(named.form->program().RowCounter(), 2);
        QCOMPARE(named.prompter.messages.size(), size_t(1));
        QVERIFY2(named.prompter.messages[0].text.contains("測試.tq4"),
                 qPrintable(named.prompter.messages[0].text));
        named.prompter.fileNames = {};
        named.trigger("儲存");
        QCOMPARE(named.prompter.fileDialogs, 1);  // 另存新檔, not the file it came from
#endif

        Window missing;
        missing.form->openFile({QFile::encodeName(missing.path("none.tq4"))});
        QCOMPARE(missing.prompter.messages.size(), size_t(1));
        QVERIFY(missing.prompter.messages[0].text.contains("none.tq4"));
        QCOMPARE(missing.form->program().RowCounter(), 0);
    }

    void refusedOpenLeavesTheEditorAsItWas() {
        Window w;
        w.enterProgram();
        w.form->program().markSaved();
        QFile bad(w.path("bad.tq4"));
        bad.open(QIODevice::WriteOnly);
        bad.write("FUNCTINO    DATA        XPOINT      PS          PS\r\nA B C D E F G\r\n");
        bad.close();
        QFile binary(w.path("binary.tq4"));
        binary.open(QIODevice::WriteOnly);
        binary.write(
            QByteArray("\x7f"
                       "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0",
                       20));
        binary.close();
        // A binary file is no program either: refused, naming the file.
        w.prompter.fileNames = {binary.fileName()};
        w.trigger("開啟舊檔");
        QCOMPARE(w.prompter.messages.size(), size_t(1));
        QVERIFY(w.prompter.messages[0].text.contains("binary.tq4"));
        QCOMPARE(w.form->program().RowCounter(), 2);
        w.prompter.messages.clear();
        const ProgramTable before = w.form->program().table();
        w.prompter.fileNames = {bad.fileName()};
        w.trigger("開啟舊檔");
        QCOMPARE(w.prompter.messages.size(), size_t(1));
        QVERIFY(w.prompter.messages[0].text.contains("2"));
        QCOMPARE(w.form->program().table(), before);
        QCOMPARE(w.form->program().RowCounter(), 2);
        QCOMPARE(w.listed(), 2);
    }

    // Opening another program offers to save the unsaved one first.
    void openAsksBeforeDiscardingChanges() {
        Window w;
        w.enterProgram();
        w.prompter.answers = {Answer::Cancel};
        w.trigger("開啟舊檔");
        QCOMPARE(w.messages(), QStringList{kUnsaved});
        QCOMPARE(w.prompter.fileDialogs, 0);
        QCOMPARE(w.form->program().RowCounter(), 2);
    }

    void exit_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("written");
        QTest::newRow("Yes and a name: saved, closed") << int(Answer::Yes) << "e" << true << true;
        QTest::newRow("Yes, dialog cancelled: stays") << int(Answer::Yes) << "" << false << false;
        QTest::newRow("No: closed unsaved") << int(Answer::No) << "" << true << false;
        QTest::newRow("Cancel: stays") << int(Answer::Cancel) << "" << false << false;
    }

    void exit() {
        QFETCH(int, answer);
        QFETCH(QString, fileName);
        QFETCH(bool, closes);
        QFETCH(bool, written);
        for (const bool byCloseBox : {false, true}) {
            Window w;
            w.enterProgram();
            w.line.openState = true;  // connected
            w.prompter.answers = {Answer(answer)};
            if (!fileName.isEmpty()) {
                w.prompter.fileNames = {w.path(fileName)};
            }
            if (byCloseBox) {
                w.form->close();
            } else {
                w.trigger("結束");
            }
            QCOMPARE(w.messages(), QStringList{kUnsaved});
            QCOMPARE(w.prompter.messages[0].buttons, Prompter::Buttons::YesNoCancel);
            QCOMPARE(w.form->isVisible(), !closes);
            QCOMPARE(QFile::exists(w.path("e.tq4")), written);
            QCOMPARE(w.line.written, closes ? QByteArray("EC 1\r") : QByteArray());
            QCOMPARE(w.line.isOpen(), !closes);
        }
    }

    void exitUnchangedAsksNothing() {
        Window w;
        w.trigger("結束");
        QVERIFY(w.prompter.messages.empty());
        QVERIFY(!w.form->isVisible());
        QVERIFY(w.line.written.isEmpty());  // not connected: nothing sent
    }

    // The files opened or saved, the latest first, eight at most; one gone since is greyed
    // and may be taken off; opening one asks about unsaved work first.
    void recentFiles() {
        Window w;
        w.enterProgram();
        for (int n = 1; n <= 9; ++n) {
            w.prompter.fileNames = {w.path(QString("p%1").arg(n))};
            w.trigger("另存新檔");
        }
        QMenu* recent = w.form->findChild<QMenu*>("最近開啟的檔案");
        QVERIFY(recent != nullptr);
        emit recent->aboutToShow();
        QCOMPARE(w.form->findChild<QAction*>("最近開啟的檔案 1")->text(),
                 "&1 " + QDir::toNativeSeparators(w.path("p9.tq4")));
        QVERIFY(w.form->findChild<QAction*>("最近開啟的檔案 8")->text().endsWith("p2.tq4"));
        QVERIFY(w.form->findChild<QAction*>("最近開啟的檔案 9") == nullptr);

        QFile::remove(w.path("p8.tq4"));
        w.form->program().clear();
        emit recent->aboutToShow();
        QVERIFY(!w.form->findChild<QAction*>("最近開啟的檔案 2")->isEnabled());
        w.form->findChild<QAction*>("最近開啟的檔案 3")->trigger();  // p7
        QVERIFY(w.form->windowTitle().endsWith(" - p7.tq4"));
        QCOMPARE(w.listed(), 2);
        QVERIFY(w.form->findChild<QAction*>("移除不存在的檔案")->isEnabled());
        w.form->findChild<QAction*>("移除不存在的檔案")->trigger();
        emit recent->aboutToShow();
        QVERIFY(w.form->findChild<QAction*>("最近開啟的檔案 1")->text().endsWith("p7.tq4"));
        QVERIFY(w.form->findChild<QAction*>("最近開啟的檔案 2")->text().endsWith("p9.tq4"));
        QVERIFY(!w.form->findChild<QAction*>("移除不存在的檔案")->isEnabled());

        w.click("Command4");  // unsaved again: 取消 keeps it
        w.prompter.answers = {Answer::Cancel};
        w.form->findChild<QAction*>("最近開啟的檔案 2")->trigger();
        QCOMPARE(w.messages().last(), kUnsaved);
        QVERIFY(w.form->windowTitle().contains("p7.tq4"));
        QCOMPARE(w.listed(), 3);
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
