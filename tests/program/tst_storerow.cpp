#include "program/directentries.h"
#include "program/storerow.h"

#include <QTest>

using namespace tql;

namespace {

Row rowOf(const QString& keyword) {
    return {keyword, keyword + "-data", "-", "-", "-"};
}

SharedState programOf(const QStringList& keywords) {
    SharedState state;
    for (const QString& keyword : keywords) {
        state.ProgramTable[++state.RowCounter] = rowOf(keyword);
    }
    return state;
}

QStringList keywordsOf(const SharedState& state) {
    QStringList keywords;
    for (int i = 1; i <= state.RowCounter; ++i) {
        keywords << state.ProgramTable[i][0];
    }
    return keywords;
}

enum Modes { None = 0, Append = 1, Insert = 2, Modify = 4 };

void setModes(SharedState& state, int modes) {
    state.AppendMode = modes & Append;
    state.InsertMode = modes & Insert;
    state.ModifyMode = modes & Modify;
}

int modesOf(const SharedState& state) {
    return (state.AppendMode ? Append : 0) | (state.InsertMode ? Insert : 0) |
           (state.ModifyMode ? Modify : 0);
}

}  // namespace

Q_DECLARE_METATYPE(StoreOutcome)

class TestStoreRow : public QObject {
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
        // Set directly, two modes still store one row: the first in append, insert, modify.
        QTest::newRow("append before insert")
            << three << 1 << int(Append | Insert) << false << QStringList{"WT", "HOME", "CS", "NEW"}
            << 4 << int(Insert);
        QTest::newRow("one-row store: insert before modify")
            << three << 2 << int(Insert | Modify) << true << QStringList{"WT", "NEW", "HOME", "CS"}
            << 2 << int(Modify);
    }

    void storeRow() {
        QFETCH(QStringList, before);
        QFETCH(int, currentRow);
        QFETCH(int, modes);
        QFETCH(bool, oneRowOnly);
        QFETCH(QStringList, after);
        QFETCH(int, currentAfter);
        QFETCH(int, modesAfter);

        SharedState state = programOf(before);
        state.CurrentRow = currentRow;
        state.EntryArmed = oneRowOnly;
        setModes(state, modes);
        const Row row = rowOf("NEW");
        const StoreOutcome outcome = oneRowOnly ? StoreArmedRow(state, row) : StoreRow(state, row);

        QCOMPARE(keywordsOf(state), after);
        QCOMPARE(state.RowCounter, after.size());
        QCOMPARE(state.CurrentRow, currentAfter);
        QCOMPARE(modesOf(state), modesAfter);
        const bool stored = after != before;
        QCOMPARE(outcome, stored ? StoreOutcome::Stored : StoreOutcome::NothingArmed);
        QCOMPARE(state.ProgramChanged, stored);
        QCOMPARE(state.EntryArmed, oneRowOnly && !stored);
        QCOMPARE(state.ProgramTable[0], headerRow());
        // The row that fell off the end of a store is never left half-written.
        QCOMPARE(state.ProgramTable[state.RowCounter + 1], Row{});
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
        SharedState state = programOf({"WT", "HOME", "CS"});
        state.CurrentRow = 2;
        for (const QChar step : steps) {
            switch (step.toLatin1()) {
                case 'a':
                    ArmAppend(state);
                    break;
                case 'i':
                    ArmInsert(state);
                    break;
                case 'm':
                    ArmModify(state);
                    break;
                case 'c':
                    ClearEditModes(state);
                    break;
                case 's':
                    QCOMPARE(StoreRow(state, rowOf("NEW")), StoreOutcome::Stored);
                    break;
            }
        }
        QCOMPARE(keywordsOf(state), after);
        QCOMPARE(modesOf(state), modesAfter);
    }

    void oneRowStoreNeedsEntryArmed() {
        SharedState state = programOf({"WT"});
        state.AppendMode = true;
        QCOMPARE(StoreArmedRow(state, rowOf("MR")), StoreOutcome::NothingArmed);
        QCOMPARE(state.RowCounter, 1);
        QVERIFY(state.AppendMode);
    }

    void fullTableRefusesAndChangesNothing_data() {
        QTest::addColumn<int>("modes");
        QTest::newRow("append") << int(Append);
        QTest::newRow("insert") << int(Insert);
    }

    void fullTableRefusesAndChangesNothing() {
        QFETCH(int, modes);
        SharedState state;
        for (int i = 1; i <= kMaxProgramRows; ++i) {
            state.ProgramTable[i] = rowOf(QString::number(i));
        }
        state.RowCounter = kMaxProgramRows;
        state.CurrentRow = 250;
        setModes(state, modes);
        const SharedState before = state;

        QCOMPARE(StoreRow(state, rowOf("NEW")), StoreOutcome::TableFull);
        QCOMPARE(state.ProgramTable, before.ProgramTable);
        QCOMPARE(state.RowCounter, kMaxProgramRows);
        QCOMPARE(modesOf(state), modes);
        QVERIFY(!state.ProgramChanged);
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
        SharedState state = programOf({"WT", "HOME"});
        state.CurrentRow = 1;
        setModes(state, Insert);
        const Row row = {"STEP", text, "", "自設", "-"};
        QCOMPARE(StoreRow(state, row),
                 refused ? StoreOutcome::ControlCharacter : StoreOutcome::Stored);
        const QStringList expected =
            refused ? QStringList{"WT", "HOME"} : QStringList{"STEP", "WT", "HOME"};
        QCOMPARE(keywordsOf(state), expected);
        QCOMPARE(modesOf(state), refused ? int(Insert) : int(None));
    }

    void modifyOnFullTableStillWorks() {
        SharedState state;
        state.RowCounter = kMaxProgramRows;
        state.CurrentRow = kMaxProgramRows;
        state.ModifyMode = true;
        QCOMPARE(StoreRow(state, rowOf("NEW")), StoreOutcome::Stored);
        QCOMPARE(state.ProgramTable[kMaxProgramRows][0], QString("NEW"));
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
        SharedState state = programOf({"WT"});
        state.CurrentRow = currentRow;
        setModes(state, modes);

        QCOMPARE(StoreRow(state, rowOf("NEW")), StoreOutcome::NoSuchRow);
        QCOMPARE(keywordsOf(state), QStringList{"WT"});
        QCOMPARE(state.ProgramTable[0], headerRow());
        QCOMPARE(modesOf(state), int(None));
        QVERIFY(!storeRefusalMessage(StoreOutcome::NoSuchRow).isEmpty());

        // The refusal disarms the stale mode, so the next entry appends again.
        ArmAppend(state);
        QCOMPARE(StoreRow(state, rowOf("NEXT")), StoreOutcome::Stored);
        QCOMPARE(keywordsOf(state), (QStringList{"WT", "NEXT"}));
    }

    void armAppendRespectsInsertAndModify() {
        SharedState state;
        ArmAppend(state);
        QVERIFY(state.AppendMode);
        for (int mode : {int(Insert), int(Modify)}) {
            setModes(state, mode);
            ArmAppend(state);
            QCOMPARE(modesOf(state), mode);
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

        SharedState state = programOf(before);
        state.CurrentRow = currentRow;
        state.InsertMode = true;
        const bool removed = DeleteCurrentRow(state);

        QCOMPARE(removed, after != before);
        QCOMPARE(keywordsOf(state), after);
        QCOMPARE(state.CurrentRow, currentRow);
        QCOMPARE(state.ProgramChanged, removed);
        QVERIFY(state.InsertMode);  // a delete leaves an armed mode armed
        QCOMPARE(state.ProgramTable[0], headerRow());
        if (!before.isEmpty()) {
            QCOMPARE(state.ProgramTable[before.size()], removed ? Row{} : rowOf(before.last()));
        }
    }

    // Modifying a row, a box opens with the row's value when the row is of the button's kind.
    void directEntryDefaults() {
        const DirectEntry& delay = directEntries()[0];
        const DirectEntry& loop = directEntries()[5];
        SharedState state = programOf({"WT", "LOOP"});
        state.ProgramTable[1][1] = "500";
        state.ProgramTable[2][1] = "3";
        state.LastDelay = "250";
        state.CurrentRow = 2;
        QCOMPARE(loop.defaultText(state), QString());
        QCOMPARE(delay.defaultText(state), QString("250"));
        state.ModifyMode = true;
        QCOMPARE(loop.defaultText(state), QString("3"));
        QCOMPARE(delay.defaultText(state), QString("250"));  // another kind: as always
        state.CurrentRow = 1;
        QCOMPARE(delay.defaultText(state), QString("500"));
    }

    void listIconsFollowKeywords() {
        SharedState state = programOf({"mystery", "WT", "HOME", "home", "CS", "STEP"});
        QCOMPARE(listIcons(state.ProgramTable, state.RowCounter),
                 (std::vector<int>{0, 6, 11, 11, 16, 28}));
        QCOMPARE(iconForKeyword("PULSE-"), 21);
        QCOMPARE(iconForKeyword("POINT"), 1);
    }
};

QTEST_APPLESS_MAIN(TestStoreRow)
#include "tst_storerow.moc"
