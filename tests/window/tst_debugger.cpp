#include "support/formfixture.h"
#include "support/quietoffscreen.h"
#include "window/rowmarks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QTest>

using namespace tql;

namespace {

// The dry-run window of the main window, driven through its buttons.
struct Debugger : test::FormFixture {
    QWidget* window = nullptr;

    explicit Debugger(const QList<Row>& rows) {
        load(rows);
        window = form->findChild<QWidget*>("DryRun");
        window->show();
    }
    void press(const char* name) const {
        auto* button = window->findChild<QPushButton*>(name);
        QVERIFY2(button->isEnabled(), name);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    bool enabled(const char* name) const {
        return window->findChild<QPushButton*>(name)->isEnabled();
    }
    QString summary() const {
        return window->findChild<QListWidget*>("DrySummary")->item(0)->text();
    }
    QStringList watch() const {
        QStringList lines;
        const auto* list = window->findChild<QListWidget*>("DryWatch");
        for (int i = 0; i < list->count(); ++i) {
            lines << list->item(i)->text();
        }
        return lines;
    }
    QColor background(int row, int column) const {
        return list()->topLevelItem(row - 1)->background(column).color();
    }
    // Rows shown as executing: green, with the arrow.
    QList<int> executing() const {
        QList<int> rows;
        for (int row = 1; row <= list()->topLevelItemCount(); ++row) {
            const bool arrow = list()->topLevelItem(row - 1)->data(0, kExecutingRole).toBool();
            if (arrow != (background(row, 1) == QColor(190, 235, 190))) {
                qFatal("row %d: the arrow and the green differ", row);
            }
            if (arrow) {
                rows << row;
            }
        }
        return rows;
    }
    bool breakpointShown(int row) const {
        return list()->topLevelItem(row - 1)->data(0, kBreakpointRole).toBool();
    }
    void toggleBreakpoint(int row) const {
        clickRow(row);
        form->findChild<QAction*>("中斷點")->trigger();
    }
};

const QList<Row> kProgram = {{"VM", "50", "速度", "-", "-"},
                             {"MR", "相對移動", "10", "-", "-"},
                             {"IN+", "2", "IN+", "-", "-"},
                             {"MR", "相對移動", "10", "-", "-"},
                             {"HOME", "回原點", "-", "-", "-"}};

}  // namespace

class TestDebugger : public QObject {
    Q_OBJECT

private slots:
    // A breakpoint is marked in the list; the run pauses there, the list shows the row it
    // stands at, the watch the machine; a step moves both on.
    void breakpointsAndSteps() {
        Debugger d(kProgram);
        d.toggleBreakpoint(2);
        QVERIFY(d.breakpointShown(2) && !d.breakpointShown(1));
        d.press("DryRunStart");
        QCOMPARE(d.summary(), QString("暫停於第 2 列 (中斷點)"));
        QCOMPARE(d.executing(), QList<int>{2});
        QVERIFY(d.breakpointShown(2));
        QVERIFY(d.watch().contains("目前: 第 2 列"));
        d.press("DryStep");
        QCOMPARE(d.executing(), QList<int>{3});
        QVERIFY(d.watch().contains("位置: 10.000"));
        // Closed, the window leaves the list unmarked; opened again, the run stands there.
        d.window->close();
        QCOMPARE(d.executing(), QList<int>{});
        d.window->show();
        QCOMPARE(d.executing(), QList<int>{3});
        // Input 2 is off and nothing changes it: the step holds at the wait, a hand on the
        // input lets it go on.
        d.press("DryStep");
        QVERIFY2(d.summary().contains("等待輸入 2 變 1"), qPrintable(d.summary()));
        QCOMPARE(d.executing(), QList<int>{3});
        d.window->findChild<QCheckBox*>("DryInput(2)")->click();
        QVERIFY(d.watch().contains("輸入 1-8: 0 1 0 0 0 0 0 0"));
        d.press("DryStep");
        QCOMPARE(d.executing(), QList<int>{4});
        d.clickRow(5);
        d.press("DryToRow");
        QCOMPARE(d.executing(), QList<int>{5});
        d.press("DryRunStart");
        QVERIFY(d.summary().startsWith("程式執行完畢"));
        QCOMPARE(d.executing(), QList<int>{});
    }

    // An edit ends a paused run: no run on rows no longer shown. The breakpoint moves with
    // its row.
    void editingEndsThePausedRun() {
        Debugger d(kProgram);
        d.toggleBreakpoint(4);
        d.press("DryStep");
        QCOMPARE(d.executing(), QList<int>{1});
        d.clickRow(2);
        d.click("Command7");  // 刪除
        QCOMPARE(d.summary(), QString("程式已修改: 模擬執行已結束."));
        QCOMPARE(d.executing(), QList<int>{});
        QVERIFY(d.breakpointShown(3) && !d.breakpointShown(4));
        QVERIFY(!d.enabled("DryReset"));
    }

    // In real time the run plays on by itself; only 暫停 and 重設 can be pressed meanwhile.
    void realTimePlayback() {
        Debugger d({{"VM", "50", "速度", "-", "-"}, {"MR", "相對移動", "20", "-", "-"}});
        d.window->findChild<QComboBox*>("DrySpeed")->setCurrentIndex(1);  // 1 倍
        d.press("DryRunStart");
        QVERIFY(d.enabled("DryPause") && !d.enabled("DryStep") && !d.enabled("DryRunStart"));
        QTRY_COMPARE(d.executing(), QList<int>{2});
        d.press("DryPause");
        QVERIFY(!d.enabled("DryPause") && d.enabled("DryStep"));
        QVERIFY(d.summary().startsWith("暫停於第 2 列"));
        d.press("DryReset");
        QCOMPARE(d.executing(), QList<int>{});
        QVERIFY(!d.enabled("DryReset"));
    }
};

QTEST_MAIN(TestDebugger)
#include "tst_debugger.moc"
