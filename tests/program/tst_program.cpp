#include "program/directentries.h"
#include "program/program.h"

#include <QSignalSpy>
#include <QTest>

using namespace tql;

namespace {

Row rowOf(const QString& keyword) {
    return {keyword, keyword + "-data", "-", "-", "-"};
}

// The program with these rows, as a file would load them.
void fill(Program& program, const QStringList& keywords) {
    ProgramTable table{};
    table[0] = headerRow();
    for (int i = 0; i < keywords.size(); ++i) {
        table[i + 1] = rowOf(keywords[i]);
    }
    program.load(table, int(keywords.size()));
}

QStringList keywordsOf(const Program& program) {
    QStringList keywords;
    for (int i = 1; i <= program.RowCounter(); ++i) {
        keywords << program.row(i)[0];
    }
    return keywords;
}

enum Modes { None = 0, Append = 1, Insert = 2, Modify = 4 };

void arm(Program& program, int mode) {
    if (mode == Append) {
        program.ArmAppend();
    } else if (mode == Insert) {
        program.ArmInsert();
    } else if (mode == Modify) {
        program.ArmModify();
    }
}

// One step of an edit script: a append, iN insert before row N, mN modify row N, dN delete
// row N, tN toggle row N's breakpoint, u undo, r redo, S save, e an edit begun (編輯開始),
// c 建立新檔.
void apply(Program& program, const QString& step) {
    const int row = step.mid(1).toInt();
    switch (step[0].toLatin1()) {
        case 'a':
            program.ArmAppend();
            QCOMPARE(program.StoreRow(rowOf("NEW")), StoreOutcome::Stored);
            break;
        case 'i':
            program.setCurrentRow(row);
            program.ArmInsert();
            QCOMPARE(program.StoreRow(rowOf("NEW")), StoreOutcome::Stored);
            break;
        case 'm':
            program.setCurrentRow(row);
            program.ArmModify();
            QCOMPARE(program.StoreRow(rowOf("NEW")), StoreOutcome::Stored);
            break;
        case 'd':
            program.setCurrentRow(row);
            QVERIFY(program.DeleteCurrentRow());
            break;
        case 't':
            program.toggleBreakpoint(row);
            break;
        case 'u':
            program.undo();
            break;
        case 'r':
            program.redo();
            break;
        case 'S':
            program.markSaved();
            break;
        case 'e':
            program.markChanged();
            break;
        case 'c':
            program.clear();
            break;
    }
}

int modesOf(const Program& program) {
    return (program.AppendMode() ? Append : 0) | (program.InsertMode() ? Insert : 0) |
           (program.ModifyMode() ? Modify : 0);
}

}  // namespace

Q_DECLARE_METATYPE(StoreOutcome)

class TestProgram : public QObject {
    Q_OBJECT

private slots:
    void storeRow_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("currentRow");
        QTest::addColumn<int>("modes");
        QTest::addColumn<bool>("oneRowOnly");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("currentAfter");
        QTest::addColumn<int>("modesAfter");

        const QStringList three = {"WT", "HOME", "CS"};
        QTest::newRow("append to empty")
            << QStringList{} << 0 << int(Append) << false << QStringList{"NEW"} << 1 << int(None);
        QTest::newRow("append after three")
            << three << 2 << int(Append) << false << QStringList{"WT", "HOME", "CS", "NEW"} << 4
            << int(None);
        QTest::newRow("insert at 1") << three << 1 << int(Insert) << false
                                     << QStringList{"NEW", "WT", "HOME", "CS"} << 1 << int(None);
        QTest::newRow("insert at last") << three << 3 << int(Insert) << false
                                        << QStringList{"WT", "HOME", "NEW", "CS"} << 3 << int(None);
        QTest::newRow("insert just past the end")
            << three << 4 << int(Insert) << false << QStringList{"WT", "HOME", "CS", "NEW"} << 4
            << int(None);
        QTest::newRow("modify 2") << three << 2 << int(Modify) << false
                                  << QStringList{"WT", "NEW", "CS"} << 2 << int(None);
        QTest::newRow("no mode stores nothing")
            << three << 2 << int(None) << false << three << 2 << int(None);
        QTest::newRow("one-row store: insert")
            << three << 2 << int(Insert) << true << QStringList{"WT", "NEW", "HOME", "CS"} << 2
            << int(None);
    }

    void storeRow() {
        QFETCH(QStringList, before);
        QFETCH(int, currentRow);
        QFETCH(int, modes);
        QFETCH(bool, oneRowOnly);
        QFETCH(QStringList, after);
        QFETCH(int, currentAfter);
        QFETCH(int, modesAfter);

        Program program;
        fill(program, before);
        program.setCurrentRow(currentRow);
        if (oneRowOnly) {
            program.ArmEntry();
        }
        arm(program, modes);
        const Row row = rowOf("NEW");
        const StoreOutcome outcome =
            oneRowOnly ? program.StoreArmedRow(row) : program.StoreRow(row);

        QCOMPARE(keywordsOf(program), after);
        QCOMPARE(program.RowCounter(), after.size());
        QCOMPARE(program.CurrentRow(), currentAfter);
        QCOMPARE(modesOf(program), modesAfter);
        const bool stored = after != before;
        QCOMPARE(outcome, stored ? StoreOutcome::Stored : StoreOutcome::NothingArmed);
        QCOMPARE(program.ProgramChanged(), stored);
        QCOMPARE(program.canUndo(), stored);
        QCOMPARE(program.EntryArmed(), oneRowOnly && !stored);
        QCOMPARE(program.row(0), headerRow());
        // The row that fell off the end of a store is never left half-written.
        QCOMPARE(program.row(program.RowCounter() + 1), Row{});
    }

    // What the operator does, one letter a step: a ArmAppend (an entry button), i 插入,
    // m 修改, c a dialog's cancel that disarms, s a stored row. Rows 1..3 are WT HOME CS and
    // CurrentRow is 2; every store is one row, and the latest arming wins.
    void armingSequences_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("modesAfter");
        QTest::newRow("cancelled entry, then insert")
            << "ais" << QStringList{"WT", "NEW", "HOME", "CS"} << int(None);
        QTest::newRow("cancelled entry, then modify")
            << "ams" << QStringList{"WT", "NEW", "CS"} << int(None);
        QTest::newRow("insert, then modify")
            << "ims" << QStringList{"WT", "NEW", "CS"} << int(None);
        QTest::newRow("modify, then insert")
            << "mis" << QStringList{"WT", "NEW", "HOME", "CS"} << int(None);
        QTest::newRow("insert survives a cancelled box")
            << "iaas" << QStringList{"WT", "NEW", "HOME", "CS"} << int(None);
        QTest::newRow("dialog cancel disarms insert")
            << "icas" << QStringList{"WT", "HOME", "CS", "NEW"} << int(None);
        QTest::newRow("insert, then entry store, then entry appends")
            << "iasas" << QStringList{"WT", "NEW", "HOME", "CS", "NEW"} << int(None);
        QTest::newRow("armed, not yet stored")
            << "ai" << QStringList{"WT", "HOME", "CS"} << int(Insert);
    }

    void armingSequences() {
        QFETCH(QString, steps);
        QFETCH(QStringList, after);
        QFETCH(int, modesAfter);
        Program program;
        fill(program, {"WT", "HOME", "CS"});
        program.setCurrentRow(2);
        for (const QChar step : steps) {
            switch (step.toLatin1()) {
                case 'a':
                    program.ArmAppend();
                    break;
                case 'i':
                    program.ArmInsert();
                    break;
                case 'm':
                    program.ArmModify();
                    break;
                case 'c':
                    program.ClearEditModes();
                    break;
                case 's':
                    QCOMPARE(program.StoreRow(rowOf("NEW")), StoreOutcome::Stored);
                    break;
            }
        }
        QCOMPARE(keywordsOf(program), after);
        QCOMPARE(modesOf(program), modesAfter);
    }

    void oneRowStoreNeedsEntryArmed() {
        Program program;
        fill(program, {"WT"});
        program.ArmAppend();
        QCOMPARE(program.StoreArmedRow(rowOf("MR")), StoreOutcome::NothingArmed);
        QCOMPARE(program.RowCounter(), 1);
        QVERIFY(program.AppendMode());
    }

    void fullTableRefusesAndChangesNothing_data() {
        QTest::addColumn<int>("modes");
        QTest::newRow("append") << int(Append);
        QTest::newRow("insert") << int(Insert);
    }

    void fullTableRefusesAndChangesNothing() {
        QFETCH(int, modes);
        QStringList rows;
        for (int i = 1; i <= kMaxProgramRows; ++i) {
            rows << QString::number(i);
        }
        Program program;
        fill(program, rows);
        program.setCurrentRow(250);
        arm(program, modes);
        const ProgramTable before = program.table();

        QCOMPARE(program.StoreRow(rowOf("NEW")), StoreOutcome::TableFull);
        QCOMPARE(program.table(), before);
        QCOMPARE(program.RowCounter(), kMaxProgramRows);
        QCOMPARE(modesOf(program), modes);
        QVERIFY(!program.ProgramChanged());
        QCOMPARE(storeRefusalMessage(StoreOutcome::TableFull),
                 QString("程式已滿500列, 無法再加入!"));
    }

    // A control byte typed or pasted into a dialog is refused at the entry, before anything
    // moves: the armed mode stays for the corrected entry. Big5 text and spaces are no
    // control bytes.
    void controlCharactersAreRefusedAtTheEntry_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("refused");
        QTest::newRow("tab") << "MA\t5" << true;
        QTest::newRow("CR") << "X\rMA 50" << true;
        QTest::newRow("unit separator") << "A\x1f" << true;
        QTest::newRow("DEL") << "1\x7f" << true;
        QTest::newRow("space and Chinese") << "PRINT 速度 1" << false;
        QTest::newRow("tilde") << "~" << false;
    }

    void controlCharactersAreRefusedAtTheEntry() {
        QFETCH(QString, text);
        QFETCH(bool, refused);
        Program program;
        fill(program, {"WT", "HOME"});
        program.setCurrentRow(1);
        program.ArmInsert();
        const Row row = {"STEP", text, "", "自設", "-"};
        QCOMPARE(program.StoreRow(row),
                 refused ? StoreOutcome::ControlCharacter : StoreOutcome::Stored);
        const QStringList expected =
            refused ? QStringList{"WT", "HOME"} : QStringList{"STEP", "WT", "HOME"};
        QCOMPARE(keywordsOf(program), expected);
        QCOMPARE(modesOf(program), refused ? int(Insert) : int(None));
    }

    void modifyOnFullTableStillWorks() {
        Program program;
        program.load(ProgramTable{}, kMaxProgramRows);
        program.setCurrentRow(kMaxProgramRows);
        program.ArmModify();
        QCOMPARE(program.StoreRow(rowOf("NEW")), StoreOutcome::Stored);
        QCOMPARE(program.row(kMaxProgramRows)[0], QString("NEW"));
    }

    // After New the counters are 0 while an insert or modify may still be armed: the header
    // row must never be the target.
    void vanishedTargetIsRefused_data() {
        QTest::addColumn<int>("modes");
        QTest::addColumn<int>("currentRow");
        QTest::newRow("insert at 0") << int(Insert) << 0;
        QTest::newRow("modify at 0") << int(Modify) << 0;
        QTest::newRow("modify past the end") << int(Modify) << 2;
        QTest::newRow("insert beyond the end") << int(Insert) << 3;
    }

    void vanishedTargetIsRefused() {
        QFETCH(int, modes);
        QFETCH(int, currentRow);
        Program program;
        fill(program, {"WT"});
        program.setCurrentRow(currentRow);
        arm(program, modes);

        QCOMPARE(program.StoreRow(rowOf("NEW")), StoreOutcome::NoSuchRow);
        QCOMPARE(keywordsOf(program), QStringList{"WT"});
        QCOMPARE(program.row(0), headerRow());
        QCOMPARE(modesOf(program), int(None));
        QVERIFY(!storeRefusalMessage(StoreOutcome::NoSuchRow).isEmpty());

        // The refusal disarms the stale mode, so the next entry appends again.
        program.ArmAppend();
        QCOMPARE(program.StoreRow(rowOf("NEXT")), StoreOutcome::Stored);
        QCOMPARE(keywordsOf(program), (QStringList{"WT", "NEXT"}));
    }

    void armAppendRespectsInsertAndModify() {
        Program program;
        program.ArmAppend();
        QVERIFY(program.AppendMode());
        for (int mode : {int(Insert), int(Modify)}) {
            arm(program, mode);
            program.ArmAppend();
            QCOMPARE(modesOf(program), mode);
        }
    }

    void deleteRow_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("currentRow");
        QTest::addColumn<QStringList>("after");

        const QStringList four = {"WT", "HOME", "CS", "RET"};
        QTest::newRow("middle") << four << 2 << QStringList{"WT", "CS", "RET"};
        QTest::newRow("last") << four << 4 << QStringList{"WT", "HOME", "CS"};
        QTest::newRow("only") << QStringList{"WT"} << 1 << QStringList{};
        QTest::newRow("row 0 after New") << QStringList{} << 0 << QStringList{};
        QTest::newRow("past the end") << four << 5 << four;
        QTest::newRow("header row") << four << 0 << four;
    }

    void deleteRow() {
        QFETCH(QStringList, before);
        QFETCH(int, currentRow);
        QFETCH(QStringList, after);

        Program program;
        fill(program, before);
        program.setCurrentRow(currentRow);
        program.ArmInsert();
        const bool removed = program.DeleteCurrentRow();

        QCOMPARE(removed, after != before);
        QCOMPARE(keywordsOf(program), after);
        QCOMPARE(program.CurrentRow(), currentRow);
        QCOMPARE(program.ProgramChanged(), removed);
        QVERIFY(program.InsertMode());  // a delete leaves an armed mode armed
        QCOMPARE(program.row(0), headerRow());
        if (!before.isEmpty()) {
            QCOMPARE(program.row(int(before.size())), removed ? Row{} : rowOf(before.last()));
        }
    }

    // Steps as apply() reads them. The program starts as one row WT, just loaded.
    void history_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("undoText");
        QTest::addColumn<QString>("redoText");
        QTest::newRow("store") << "a" << QStringList{"WT", "NEW"} << true << "輸入一列"
                               << "";
        QTest::newRow("store, undo") << "a u" << QStringList{"WT"} << false << ""
                                     << "輸入一列";
        QTest::newRow("delete, undo") << "d1 u" << QStringList{"WT"} << false << ""
                                      << "刪除一列";
        QTest::newRow("store, delete") << "a d1" << QStringList{"NEW"} << true << "刪除一列"
                                       << "";
        QTest::newRow("undo past the save") << "a S u" << QStringList{"WT"} << true << ""
                                            << "輸入一列";
        QTest::newRow("redo back to the save")
            << "a S u r" << QStringList{"WT", "NEW"} << false << "輸入一列"
            << "";
        QTest::newRow("an edit after undo drops the saved state")
            << "a S u a u" << QStringList{"WT"} << true << ""
            << "輸入一列";
        QTest::newRow("edit begun") << "e" << QStringList{"WT"} << true << ""
                                    << "";
        QTest::newRow("undo back to the loaded program")
            << "a e u" << QStringList{"WT"} << false << ""
            << "輸入一列";
        QTest::newRow("nothing to undo") << "u u" << QStringList{"WT"} << false << ""
                                         << "";
    }

    void history() {
        QFETCH(QString, steps);
        QFETCH(QStringList, after);
        QFETCH(bool, changed);
        QFETCH(QString, undoText);
        QFETCH(QString, redoText);
        Program program;
        fill(program, {"WT"});
        for (const QString& step : steps.split(' ')) {
            apply(program, step);
        }
        QCOMPARE(keywordsOf(program), after);
        QCOMPARE(program.ProgramChanged(), changed);
        QCOMPARE(program.undoText(), undoText);
        QCOMPARE(program.canUndo(), !undoText.isEmpty());
        QCOMPARE(program.redoText(), redoText);
        QCOMPARE(program.canRedo(), !redoText.isEmpty());
    }

    // New and Open start a fresh history of an unchanged program, with no row chosen and
    // nothing armed: a mode armed on the old program's rows never lands on the new one's.
    void newAndOpenStartAfresh_data() {
        QTest::addColumn<bool>("open");
        QTest::newRow("建立新檔") << false;
        QTest::newRow("開啟舊檔") << true;
    }

    void newAndOpenStartAfresh() {
        QFETCH(bool, open);
        for (const int mode : {Append, Insert, Modify}) {
            Program program;
            fill(program, {"WT", "HOME", "CS"});
            program.ArmAppend();
            program.StoreRow(rowOf("RET"));
            program.setCurrentRow(2);
            arm(program, mode);
            if (open) {
                fill(program, {"HOME", "CS"});
            } else {
                program.clear();
            }
            QCOMPARE(program.RowCounter(), open ? 2 : 0);
            QCOMPARE(program.CurrentRow(), 0);
            QCOMPARE(modesOf(program), int(None));
            QVERIFY(!program.ProgramChanged() && !program.canUndo() && !program.canRedo());
        }
    }

    // The history keeps the last kUndoSteps steps, each one undoable; the step before them
    // is forgotten, and a save beyond the reach of undo leaves the program changed.
    void historyIsBounded() {
        Program program;
        fill(program, {"WT"});
        program.markSaved();
        for (int i = 0; i <= Program::kUndoSteps; ++i) {
            program.setCurrentRow(1);
            program.ArmModify();
            QCOMPARE(program.StoreRow(rowOf(QString::number(i))), StoreOutcome::Stored);
        }
        int undone = 0;
        for (; program.canUndo(); ++undone) {
            program.undo();
        }
        QCOMPARE(undone, Program::kUndoSteps);
        QCOMPARE(program.row(1)[0], QString("0"));
        QVERIFY(program.ProgramChanged());
        for (int redone = 0; program.canRedo(); ++redone) {
            QVERIFY(redone < Program::kUndoSteps);
            program.redo();
        }
        QCOMPARE(program.row(1)[0], QString::number(Program::kUndoSteps));
    }

    // Breakpoints stay with their rows through inserts and deletes, leave with a deleted
    // row, come back with the rows undo and redo bring back, and a new program has none.
    // Steps as apply() reads them; rows 1..5 with breakpoints at 2 and 4.
    void breakpointsFollowTheirRows_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("insert before 2") << "i2" << QList<int>{3, 5};
        QTest::newRow("insert before 3") << "i3" << QList<int>{2, 5};
        QTest::newRow("insert before 5") << "i5" << QList<int>{2, 4};
        QTest::newRow("delete 2") << "d2" << QList<int>{3};
        QTest::newRow("delete 3") << "d3" << QList<int>{2, 3};
        QTest::newRow("delete 5") << "d5" << QList<int>{2, 4};
        QTest::newRow("modify 2") << "m2" << QList<int>{2, 4};
        QTest::newRow("append") << "a" << QList<int>{2, 4};
        QTest::newRow("toggle 2 off") << "t2" << QList<int>{4};
        QTest::newRow("no row 6") << "t6" << QList<int>{2, 4};
        QTest::newRow("undo an insert") << "i2 u" << QList<int>{2, 4};
        QTest::newRow("redo an insert") << "i2 u r" << QList<int>{3, 5};
        QTest::newRow("undo a delete brings its breakpoint") << "d2 u" << QList<int>{2, 4};
        QTest::newRow("redo a delete") << "d2 u r" << QList<int>{3};
        QTest::newRow("undo a modify") << "m2 u" << QList<int>{2, 4};
        QTest::newRow("toggled after the insert") << "i2 t3 t4 u" << QList<int>{3, 4};
        QTest::newRow("undo the appends of rows 4, 5") << "u u" << QList<int>{2};
        QTest::newRow("and redo them") << "u u r r" << QList<int>{2, 4};
        QTest::newRow("new program") << "c" << QList<int>{};
    }

    void breakpointsFollowTheirRows() {
        QFETCH(QString, steps);
        QFETCH(QList<int>, after);
        Program program;
        fill(program, {"HOME", "CS", "WT"});
        for (const char* keyword : {"RET", "HOME"}) {
            program.ArmAppend();
            program.StoreRow(rowOf(keyword));
        }
        program.toggleBreakpoint(2);
        program.toggleBreakpoint(4);
        QSignalSpy changes(&program, &Program::breakpointsChanged);
        for (const QString& step : steps.split(' ')) {
            apply(program, step);
        }
        const std::set<int>& now = program.breakpoints();
        QCOMPARE(QList<int>(now.begin(), now.end()), after);
        if (after != QList<int>{2, 4}) {
            QVERIFY(!changes.isEmpty());
        }
    }

    // An armed insert or modify survives undo and redo only where its row stands as it was:
    // otherwise it would land on other content. An armed append names no row.
    void undoDropsAnArmedModeWhoseRowChanged_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("dropped");
        QTest::newRow("modify 3, undo an append") << "a" << int(Modify) << false;
        QTest::newRow("modify 3, undo an insert before 2") << "i2" << int(Modify) << true;
        QTest::newRow("modify 3, undo a modify of 1") << "m1" << int(Modify) << false;
        QTest::newRow("modify 3, undo a modify of 3") << "m3" << int(Modify) << true;
        QTest::newRow("insert at 3, undo a delete of 4") << "d4" << int(Insert) << false;
        QTest::newRow("insert at 3, undo a delete of 3") << "d3" << int(Insert) << true;
        QTest::newRow("append, undo an insert before 1") << "i1" << int(Append) << false;
    }

    void undoDropsAnArmedModeWhoseRowChanged() {
        QFETCH(QString, edit);
        QFETCH(int, mode);
        QFETCH(bool, dropped);
        Program program;
        fill(program, {"WT", "HOME", "CS", "RET"});
        apply(program, edit);
        program.setCurrentRow(3);
        arm(program, mode);
        QSignalSpy drops(&program, &Program::armedModeDropped);
        program.undo();
        QCOMPARE(modesOf(program), dropped ? int(None) : mode);
        QCOMPARE(drops.size(), dropped ? 1 : 0);
    }

    // Modifying a row, a box opens with the row's value when the row is of the button's kind.
    void directEntryDefaults() {
        const DirectEntry& delay = directEntry(DirectEntryKind::Delay);
        const DirectEntry& loop = directEntry(DirectEntryKind::Loop);
        ProgramTable table{};
        table[1] = {"WT", "500", "-", "-", "-"};
        table[2] = {"LOOP", "3", "-", "-", "-"};
        Program program;
        program.load(table, 2);
        EntryMemory memory;
        memory.LastDelay = "250";
        program.setCurrentRow(2);
        QCOMPARE(loop.defaultText(program, memory), QString());
        QCOMPARE(delay.defaultText(program, memory), QString("250"));
        program.ArmModify();
        QCOMPARE(loop.defaultText(program, memory), QString("3"));
        QCOMPARE(delay.defaultText(program, memory), QString("250"));  // another kind
        program.setCurrentRow(1);
        QCOMPARE(delay.defaultText(program, memory), QString("500"));
    }

    void listIconsFollowKeywords() {
        Program program;
        fill(program, {"mystery", "WT", "HOME", "home", "CS", "STEP"});
        QCOMPARE(listIcons(program.table(), program.RowCounter()),
                 (std::vector<int>{0, 6, 11, 11, 16, 28}));
        QCOMPARE(iconForKeyword("PULSE-"), 21);
        QCOMPARE(iconForKeyword("POINT"), 1);
    }
};

QTEST_APPLESS_MAIN(TestProgram)
#include "tst_program.moc"
