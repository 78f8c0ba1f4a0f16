// The editor's operations on several rows: which rows end where, the breakpoints with
// them, one undo step each; and the clipboard's text of rows, to and from a text editor.
#include "files/programfile.h"
#include "program/program.h"

#include <QTest>

using namespace tql;

namespace {

// Rows A..E, row C with a breakpoint.
void fill(Program& program) {
    ProgramTable table{};
    table[0] = headerRow();
    int n = 0;
    for (const char* keyword : {"A", "B", "C", "D", "E"}) {
        table[size_t(++n)] = {keyword, "1", "-", "-", "-"};
    }
    program.load(table, n);
    program.toggleBreakpoint(3);
}

QString lettersOf(const Program& program) {
    QString letters;
    for (int row = 1; row <= program.RowCounter(); ++row) {
        letters += program.row(row)[0];
    }
    return letters;
}

}  // namespace

using Operation = std::function<bool(Program&)>;
Q_DECLARE_METATYPE(Operation)

class TestRowOperations : public QObject {
    Q_OBJECT

private slots:
    void rowsEndWhereTheyShould_data() {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QString>("letters");  // after it; unchanged when refused
        QTest::addColumn<int>("marked");       // the row C's breakpoint is on after it
        const auto rows = [](std::vector<Row> r) { return r; };
        const auto x = Row{"X", "1", "-", "-", "-"};
        QTest::newRow("delete rows apart") << Operation([](Program& p) {
            return p.deleteRows({2, 4});
        }) << "ACE" << 2;
        QTest::newRow("delete the marked row")
            << Operation([](Program& p) { return p.deleteRows({3}); }) << "ABDE" << 0;
        QTest::newRow("delete no program row") << Operation([](Program& p) {
            return p.deleteRows({0, 6});
        }) << "ABCDE" << 3;
        QTest::newRow("paste before a row") << Operation([=](Program& p) {
            return p.insertRows(3, rows({x, x})) == StoreOutcome::Stored;
        }) << "ABXXCDE" << 5;
        QTest::newRow("paste at the end") << Operation([=](Program& p) {
            return p.insertRows(6, rows({x})) == StoreOutcome::Stored;
        }) << "ABCDEX" << 3;
        QTest::newRow("paste beyond 500 rows") << Operation([=](Program& p) {
            return p.insertRows(1, std::vector<Row>(size_t(kMaxProgramRows - 4), x)) ==
                   StoreOutcome::Stored;
        }) << "ABCDE" << 3;
        QTest::newRow("paste a control character") << Operation([](Program& p) {
            return p.insertRows(1, {{"X", "1\t2", "-", "-", "-"}}) == StoreOutcome::Stored;
        }) << "ABCDE" << 3;
        QTest::newRow("up, rows together") << Operation([](Program& p) {
            return p.moveRows({2, 3}, -1);
        }) << "BCADE" << 2;
        QTest::newRow("down, rows apart") << Operation([](Program& p) {
            return p.moveRows({1, 3}, 1);
        }) << "BADCE" << 4;
        QTest::newRow("down from the last row") << Operation([](Program& p) {
            return p.moveRows({3, 5}, 1);
        }) << "ABCDE" << 3;
        QTest::newRow("up from the first row")
            << Operation([](Program& p) { return p.moveRows({1}, -1); }) << "ABCDE" << 3;
        // Dragged rows keep their order and land where they were dropped.
        QTest::newRow("dropped before a row above") << Operation([](Program& p) {
            return p.moveRowsTo({3, 5}, 2) == 2;
        }) << "ACEBD" << 2;
        QTest::newRow("dropped at the end") << Operation([](Program& p) {
            return p.moveRowsTo({1, 3}, 6) == 4;
        }) << "BDEAC" << 5;
        QTest::newRow("dropped between themselves") << Operation([](Program& p) {
            return p.moveRowsTo({2, 4}, 4) == 3;
        }) << "ACBDE" << 2;
        QTest::newRow("dropped where they stand") << Operation([](Program& p) {
            return p.moveRowsTo({2, 3}, 4).has_value();
        }) << "ABCDE" << 3;
        QTest::newRow("dropped beyond the end")
            << Operation([](Program& p) { return p.moveRowsTo({2}, 7).has_value(); }) << "ABCDE"
            << 3;
    }

    void rowsEndWhereTheyShould() {
        QFETCH(Operation, operation);
        QFETCH(QString, letters);
        QFETCH(int, marked);
        Program program;
        fill(program);
        program.setCurrentRow(2);
        program.ArmModify();
        const bool done = operation(program);
        QCOMPARE(done, letters != "ABCDE");
        QCOMPARE(lettersOf(program), letters);
        QCOMPARE(program.breakpoints(), marked == 0 ? std::set<int>{} : std::set<int>{marked});
        QCOMPARE(program.ProgramChanged(), done);
        if (!done) {
            QVERIFY(!program.canUndo());
            return;
        }
        QVERIFY(!program.ModifyMode());  // it would land on another row now
        program.undo();                  // one step
        QCOMPARE(lettersOf(program), QString("ABCDE"));
        QCOMPARE(program.breakpoints(), std::set<int>{3});
        QVERIFY(!program.canUndo());
        program.redo();
        QCOMPARE(lettersOf(program), letters);
    }

    // What a text editor or another tool hands back comes in as the rows that left.
    void theClipboardsTextOfRows() {
        const std::vector<Row> rows = {{"VM", "100", "速度", "-", "-"},
                                       {"POINT", "絕對移動", "12.5", "-", "a note with spaces"},
                                       {"LABLE", "A", "標籤", "-", "-"}};
        const QString text = rowsText(rows);
        QCOMPARE(text.count(u'\n'), 3);
        QCOMPARE(rowsFromText(text), std::optional(rows));
        QString edited = text;
        edited.replace(u'\n', QStringLiteral("\r\n"));  // through a Windows editor
        QCOMPARE(rowsFromText(formatRow(headerRow()) + "\r\n\r\n" + edited), std::optional(rows));
        for (const QString& noRows : {QString(), QString("\n  \n"), QString("hello world"),
                                      QString("VM 1 2 3 4 5"), text + "not a row\n"}) {
            QVERIFY2(!rowsFromText(noRows), qPrintable(noRows));
        }
    }
};

QTEST_APPLESS_MAIN(TestRowOperations)
#include "tst_rowoperations.moc"
