#include "support/formfixture.h"
#include "support/quietoffscreen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QRadioButton>
#include <QSlider>
#include <QWheelEvent>

using namespace tql;
using tql::test::pollTimer;
using namespace std::chrono_literals;
using tql::test::FormFixture;

Q_DECLARE_METATYPE(tql::Row)

namespace {

const Row kDelay = {"WT", "500", "延遲", "-", "-"};
const Row kHome = {"HOME", "回原點", "-", "-", "-"};
const Row kReturn = {"RET", "RETURN", "返回", "-", "-"};

struct Editor : FormFixture {
    Editor() { click("Command12"); }

    // Opens the dialog of a button; the dialog is found by its name.
    QDialog* open(const QString& button, const QString& name) {
        click(button);
        const QList<QDialog*> dialogs = form->findChildren<QDialog*>(name);
        QDialog* dialog = dialogs.isEmpty() ? nullptr : dialogs.last();
        if (dialog == nullptr || !dialog->isVisible()) {
            qFatal("dialog %s did not open", qPrintable(name));
        }
        return dialog;
    }
    template <typename T = QWidget>
    static T* in(QDialog* dialog, const QString& name) {
        T* widget = dialog->findChild<T*>(name);
        if (widget == nullptr) {
            qFatal("no control %s in %s", qPrintable(name), qPrintable(dialog->objectName()));
        }
        return widget;
    }
    static void press(QDialog* dialog, const QString& button) {
        QTest::mouseClick(in<QPushButton>(dialog, button), Qt::LeftButton);
    }
    static void type(QDialog* dialog, const QString& field, const QString& text) {
        in<QLineEdit>(dialog, field)->setText(text);
    }
    static void choose(QDialog* dialog, const QString& combo, const QString& text) {
        in<QComboBox>(dialog, combo)->setEditText(text);
    }
    // Option buttons and check boxes take a click on their mark, not anywhere in the row.
    static void pick(QDialog* dialog, const QString& button) {
        auto* b = in<QAbstractButton>(dialog, button);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    }
    bool closed(const QString& name) const {
        const QList<QDialog*> dialogs = form->findChildren<QDialog*>(name);
        return std::none_of(dialogs.begin(), dialogs.end(),
                            [](QDialog* d) { return d->isVisible(); });
    }
    Row row(int i) const { return program().row(i); }
    bool modesClear() const {
        return !program().AppendMode() && !program().InsertMode() && !program().ModifyMode();
    }
    // The list shows the table, row for row.
    bool listMatchesTable() const {
        if (list()->topLevelItemCount() != program().RowCounter()) {
            return false;
        }
        for (int i = 1; i <= program().RowCounter(); ++i) {
            for (int c = 1; c < 5; ++c) {
                if (list()->topLevelItem(i - 1)->text(c) != program().row(i)[c]) {
                    return false;
                }
            }
        }
        return true;
    }
    // Arms a mode on row k as the operator does: click the row, then 插入 or 修改.
    void arm(const QString& editButton, int k) {
        clickRow(k);
        click(editButton);
    }
};

}  // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tql::test::installQuietHandler(); }
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void inputConditionDialog() {
        Editor e;
        QDialog* d = e.open("Command10", "XIN");
        QCOMPARE(d->windowTitle(), QString("IN"));
        QVERIFY(e.in<QRadioButton>(d, "Option1(0)")->isChecked());
        QVERIFY(!e.in(d, "Option1(2)")->isEnabled());
        QVERIFY(!e.in(d, "Text1")->isEnabled());
        QVERIFY(e.form->centralWidget()->isEnabled());  // the main window stays usable
        e.press(d, "Command3");
        e.press(d, "Command3");
        QCOMPARE(e.in<QPushButton>(d, "Command3")->text(), QString("+"));
        e.choose(d, "Combo1", "3");
        e.press(d, "Command1");
        QVERIFY(e.closed("XIN"));
        QCOMPARE(e.row(1), (Row{"IN+", "3", "IN+", "-", "-"}));
        QVERIFY(e.modesClear());
        QVERIFY(e.listMatchesTable());

        // Jump off with a label; a label typed for a jump is dropped when "IN" is chosen again.
        d = e.open("Command10", "XIN");
        e.pick(d, "Option1(1)");
        QVERIFY(e.in(d, "Text1")->isEnabled());
        e.press(d, "Command3");
        e.choose(d, "Combo1", "5");
        e.type(d, "Text1", "A1");
        e.press(d, "Command1");
        QCOMPARE(e.row(2), (Row{"IN-J", "5", "A1", "IN-JP", "-"}));
        d = e.open("Command10", "XIN");
        e.pick(d, "Option1(1)");
        e.type(d, "Text1", "B2");
        e.pick(d, "Option1(0)");
        e.choose(d, "Combo1", "9");
        e.press(d, "Command1");
        QCOMPARE(e.row(3), (Row{"IN+", "9", "IN+", "-", "-"}));
    }

    void inputConditionEmptyNumberAndCancel() {
        for (const QString way : {"empty", "cancel"}) {
            Editor e;
            e.load({kDelay, kHome, kReturn});
            e.arm("Command6", 2);
            QDialog* d = e.open("Command10", "XIN");
            e.press(d, way == "empty" ? "Command1" : "Command2");
            QVERIFY(e.closed("XIN"));
            QCOMPARE(e.keywords(), (QStringList{"WT", "HOME", "RET"}));
            QVERIFY(e.modesClear());
        }
    }

    void inputConditionModifyAndInsert() {
        Editor e;
        e.load({kDelay, {"IN-C", "4", "SUB", "IN-CALL", "-"}, kHome, kReturn, kDelay});
        e.arm("Command8", 2);
        QDialog* d = e.open("Command10", "XIN");
        QVERIFY(e.in<QRadioButton>(d, "Option1(2)")->isChecked());
        QVERIFY(!e.in(d, "Option1(2)")->isEnabled());
        QVERIFY(e.in(d, "Text1")->isEnabled());
        QCOMPARE(e.in<QPushButton>(d, "Command3")->text(), QString("-"));
        QCOMPARE(e.in<QComboBox>(d, "Combo1")->currentText(), QString("4"));
        QCOMPARE(e.in<QLineEdit>(d, "Text1")->text(), QString("SUB"));
        e.press(d, "Command1");
        QCOMPARE(e.row(2), (Row{"IN-C", "4", "SUB", "IN-CALL", "-"}));
        QCOMPARE(e.program().RowCounter(), 5);

        e.arm("Command8", 1);  // a delay row: defaults, replaced by an input row
        d = e.open("Command10", "XIN");
        QCOMPARE(e.in<QComboBox>(d, "Combo1")->currentText(), QString());
        e.choose(d, "Combo1", "1");
        e.press(d, "Command1");
        QCOMPARE(e.row(1), (Row{"IN+", "1", "IN+", "-", "-"}));

        e.arm("Command6", 3);
        d = e.open("Command10", "XIN");
        e.choose(d, "Combo1", "2");
        e.press(d, "Command1");
        QCOMPARE(e.keywords(), (QStringList{"IN+", "IN-C", "IN+", "HOME", "RET", "WT"}));
        QCOMPARE(e.program().CurrentRow(), 3);
        QVERIFY(e.listMatchesTable());
    }

    void outputDialog() {
        Editor e;
        QDialog* d = e.open("Command11", "XOUT");
        QCOMPARE(d->windowTitle(), QString("OUT"));
        QVERIFY(!e.in<QRadioButton>(d, "Option1(0)")->isChecked());
        QVERIFY(!e.in<QRadioButton>(d, "Option1(1)")->isChecked());
        for (const char* name : {"Command3", "Combo1", "Check1", "Text1", "Check4(1)"}) {
            QVERIFY2(!e.in(d, name)->isEnabled(), name);
        }
        QCOMPARE(e.in<QLineEdit>(d, "Text1")->text(), QString(" 100"));
        e.press(d, "Command1");  // nothing chosen: single output with no number
        QCOMPARE(e.program().RowCounter(), 0);
        QVERIFY(e.modesClear());

        d = e.open("Command11", "XOUT");
        e.pick(d, "Option1(0)");
        e.choose(d, "Combo1", "3");
        e.press(d, "Command1");
        QCOMPARE(e.row(1), (Row{"SETP", "3", "ON", "-", "-"}));

        d = e.open("Command11", "XOUT");
        e.pick(d, "Option1(1)");
        e.pick(d, "Check4(1)");
        e.pick(d, "Check4(3)");
        e.pick(d, "Option1(0)");  // the boxes stay checked but no longer count
        QVERIFY(e.in<QCheckBox>(d, "Check4(1)")->isChecked());
        QVERIFY(!e.in(d, "Check4(1)")->isEnabled());
        e.pick(d, "Option1(1)");
        e.press(d, "Command1");
        QCOMPARE(e.row(2), (Row{"OUTP", "5", "ALL-P", "-", "-"}));

        d = e.open("Command11", "XOUT");
        e.pick(d, "Option1(0)");
        e.choose(d, "Combo1", "2");
        e.pick(d, "Check1");
        e.press(d, "Command3");
        e.press(d, "Command1");
        QCOMPARE(e.row(3), (Row{"PULSE-", "2", " 100", "OFF-P", "-"}));
        QVERIFY(e.listMatchesTable());
    }

    void outputModify() {
        Editor e;
        e.load({{"OUTP", "10", "ALL-P", "-", "-"},
                {"OUTP", "x7", "ALL-P", "-", "-"},
                {"PULSE", "4", "250", "ON-P", "-"}});
        e.arm("Command8", 1);
        QDialog* d = e.open("Command11", "XOUT");
        QVERIFY(e.in<QRadioButton>(d, "Option1(1)")->isChecked());
        QString boxes;
        for (int n = 1; n <= 4; ++n) {
            boxes += e.in<QCheckBox>(d, QString("Check4(%1)").arg(n))->isChecked() ? '1' : '0';
        }
        QCOMPARE(boxes, QString("0101"));
        QVERIFY(!e.in(d, "Combo1")->isEnabled());
        d->close();

        e.arm("Command8", 2);
        d = e.open("Command11", "XOUT");
        for (int n = 1; n <= 4; ++n) {
            QVERIFY(!e.in<QCheckBox>(d, QString("Check4(%1)").arg(n))->isChecked());
        }
        d->close();

        e.arm("Command8", 3);
        d = e.open("Command11", "XOUT");
        QVERIFY(e.in<QRadioButton>(d, "Option1(0)")->isChecked());
        QCOMPARE(e.in<QPushButton>(d, "Command3")->text(), QString("+"));
        QVERIFY(e.in<QCheckBox>(d, "Check1")->isChecked());
        QCOMPARE(e.in<QLineEdit>(d, "Text1")->text(), QString("250"));
        QCOMPARE(e.in<QComboBox>(d, "Combo1")->currentText(), QString("4"));
        e.press(d, "Command1");
        QCOMPARE(e.row(3), (Row{"PULSE", "4", "250", "ON-P", "-"}));
    }

    void relativeMoveDialog() {
        Editor e;
        QDialog* d = e.open("Command5", "MR");
        QCOMPARE(d->windowTitle(), QString("相對移動"));
        QCOMPARE(e.in<QLineEdit>(d, "Text1")->text(), QString("0"));
        e.press(d, "Command1");
        QCOMPARE(e.row(1), (Row{"MR", "相對移動", "0", "-", "-"}));
        QVERIFY(!e.program().EntryArmed());
        QVERIFY(e.listMatchesTable());

        d = e.open("Command5", "MR");
        e.type(d, "Text1", "5");
        e.press(d, "Command1");
        QCOMPARE(e.memory().MoveValue, QString("5"));
        d = e.open("Command19", "Form3");  // the absolute move opens with the last distance
        QCOMPARE(e.in<QLineEdit>(d, "Text1(0)")->text(), QString("5"));
        d->close();

        e.load({kDelay});
        e.arm("Command6", 1);
        d = e.open("Command5", "MR");
        e.press(d, "Command2");  // cancel keeps a pending insert
        QVERIFY(e.program().InsertMode());
        e.arm("Command8", 3);
        d = e.open("Command5", "MR");
        QCOMPARE(e.in<QLineEdit>(d, "Text1")->text(), QString("延遲"));  // field 2 of the row
    }

    // Two one-row dialogs open at once: only the first confirmation stores.
    // One row dialog at a time: another entry brings the open one to the front, opens and
    // arms nothing; once it is closed the other opens.
    void oneRowDialogAtATime() {
        Editor e;
        QDialog* first = e.open("Command5", "MR");
        e.click("Command15");
        QVERIFY(e.form->findChildren<QDialog*>("STEP").isEmpty());
        QVERIFY(first->isVisible());
        e.type(first, "Text1", "5");
        e.press(first, "Command1");
        QCOMPARE(e.keywords(), QStringList{"MR"});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QDialog* second = e.open("Command15", "STEP");
        e.press(second, "Command1");
        QCOMPARE(e.keywords(), (QStringList{"MR", "STEP"}));
        QVERIFY(e.listMatchesTable());
    }

    void customStepDialog() {
        Editor e;
        QDialog* d = e.open("Command15", "STEP");
        QCOMPARE(e.in<QLabel>(d, "Label1(5)")->text(), QString("        註解 :"));
        e.press(d, "Command1");
        QCOMPARE(e.row(1), (Row{"STEP", "", "", "自設", "-"}));

        e.load({{"STEP", "MA 50", "go", "自設", "-"}, kDelay});
        e.arm("Command8", 2);
        d = e.open("Command15", "STEP");
        QCOMPARE(e.in<QLineEdit>(d, "Text1")->text(), QString("MA 50"));
        QCOMPARE(e.in<QLineEdit>(d, "Text2")->text(), QString("go"));
        e.press(d, "Command2");
        QVERIFY(e.program().ModifyMode());  // cancel leaves it armed
        e.arm("Command8", 3);
        d = e.open("Command15", "STEP");
        QCOMPARE(e.in<QLineEdit>(d, "Text1")->text(), QString("500"));
        QCOMPARE(e.in<QLineEdit>(d, "Text2")->text(), QString("延遲"));
        e.press(d, "Command1");
        QCOMPARE(e.row(3), (Row{"STEP", "500", "延遲", "自設", "-"}));
    }

    void absoluteMoveDisconnected() {
        Editor e;
        e.memory().NumericEntry = false;
        QDialog* d = e.open("Command19", "Form3");
        QCOMPARE(d->windowTitle(), QString(11, ' '));
        QVERIFY(!e.in(d, "Option2(1)")->isEnabled());
        QVERIFY(e.in<QRadioButton>(d, "Option2(0)")->isChecked());
        QVERIFY(e.memory().NumericEntry);
        QCOMPARE(e.in<QLabel>(d, "StatusBar1(1)")->text(), QString("未連線"));
        QCOMPARE(e.in<QLineEdit>(d, "Text1(1)")->text(), QString("0"));
        QVERIFY(!e.in(d, "Text1(1)")->isEnabled());
        e.type(d, "Text1(0)", "12a");
        e.press(d, "Command2");  // 定位 does nothing disconnected
        e.press(d, "Command3(0)");
        QVERIFY(e.line.written.isEmpty());
        QCOMPARE(e.row(1), (Row{"POINT", "絕對移動", "12", "-", "-"}));
        QCOMPARE(e.memory().MoveValue, QString("12a"));
        QVERIFY(e.listMatchesTable());  // the list shows the stored target, not the typed

        d = e.open("Command19", "Form3");
        e.type(d, "Text1(0)", "-12.5");
        e.press(d, "Command3(0)");
        QCOMPARE(e.row(2)[2], QString("-12.5"));

        e.arm("Command6", 1);
        d = e.open("Command19", "Form3");
        e.press(d, "Command3(1)");
        QVERIFY(e.modesClear());  // unlike the relative move, cancel disarms
        QVERIFY(e.program().EntryArmed());
    }

    void absoluteMoveTeach() {
        Editor e;
        e.line.openState = true;  // connected
        e.memory().NumericEntry = false;
        QDialog* d = e.open("Command19", "Form3");
        pollTimer(e.form->session())
            .stop();  // only the dialog's own reads take the scripted replies
        QVERIFY(e.in<QRadioButton>(d, "Option2(1)")->isChecked());
        QCOMPARE(e.line.written, QByteArray("HOFF\r"));
        QVERIFY(!e.in(d, "Text1(0)")->isEnabled());
        QCOMPARE(e.in<QLabel>(d, "StatusBar1(1)")->text(), QString("連線中"));

        // Every 200 ms the live coordinate is read and, teaching, taken as the target.
        e.line.replies = {"-7.25\r"};
        QTRY_COMPARE_WITH_TIMEOUT(e.in<QLineEdit>(d, "Text1(0)")->text(), QString("-7.25"), 2000);
        QCOMPARE(e.in<QLineEdit>(d, "Text1(1)")->text(), QString("-7.25\r"));

        // A reading that is no position is never stored as a target.
        e.line.replies = {"OK\r"};
        QTRY_COMPARE_WITH_TIMEOUT(e.in<QLineEdit>(d, "Text1(0)")->text(), QString("OK"), 2000);
        e.press(d, "Command3(0)");
        QCOMPARE(e.messages(), QStringList{"無法讀取滑台座標, 未儲存!"});
        QCOMPARE(e.program().RowCounter(), 0);
        QVERIFY(!e.closed("Form3"));
        e.line.replies = {"-7.25\r"};
        QTRY_COMPARE_WITH_TIMEOUT(e.in<QLineEdit>(d, "Text1(0)")->text(), QString("-7.25"), 2000);
        QVERIFY(e.line.written.startsWith("HOFF\r?PE\r"));
        QVERIFY(std::count(e.sleeper.sleeps.begin(), e.sleeper.sleeps.end(), 50ms) >= 1);

        e.pick(d, "Option2(0)");
        QVERIFY(e.memory().NumericEntry);
        QVERIFY(e.in(d, "Text1(0)")->isEnabled());
        e.type(d, "Text1(0)", "-7.25");
        e.line.written.clear();
        e.press(d, "Command2");
        QVERIFY(e.line.written.contains("MA -7.25\r"));
        e.line.written.clear();
        e.press(d, "Command3(0)");
        QCOMPARE(e.line.written, QByteArray("HON\r"));
        QCOMPARE(e.row(1), (Row{"POINT", "絕對移動", "-7.25", "-", "-"}));

        d = e.open("Command19", "Form3");
        e.line.written.clear();
        e.press(d, "Command3(1)");
        QCOMPARE(e.line.written, QByteArray("HON\r"));

        // The close box sends nothing and leaves the modes as they were.
        e.load({kDelay});
        e.arm("Command6", 1);
        d = e.open("Command19", "Form3");
        e.line.written.clear();
        d->close();
        QVERIFY(!e.line.written.contains("HON"));
        QVERIFY(e.program().InsertMode());
        QVERIFY(e.program().EntryArmed());
    }

    // However the dialog closes after 教導輸入 freed the slide, "HON" holds it again, once;
    // Esc is the dialog's 取消 and clears the modes, the close box keeps them. 斷線 and 結束
    // hold a freed slide before the port closes.
    void theSlideIsNeverLeftFree_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("取消") << "cancel" << QByteArray("HON\r");
        QTest::newRow("Esc") << "escape" << QByteArray("HON\r");
        QTest::newRow("close box") << "close" << QByteArray("HON\r");
        QTest::newRow("斷線") << "disconnect" << QByteArray("HON\r");
        QTest::newRow("結束") << "exit" << QByteArray("HON\rEC 1\r");
    }

    void theSlideIsNeverLeftFree() {
        QFETCH(QString, how);
        QFETCH(QByteArray, after);
        Editor e;
        e.line.openState = true;
        e.memory().NumericEntry = false;
        e.load({kDelay});
        e.arm("Command6", 1);
        QDialog* d = e.open("Command19", "Form3");
        pollTimer(e.form->session()).stop();
        QCOMPARE(e.line.written, QByteArray("HOFF\r"));
        e.line.written.clear();
        if (how == "cancel") {
            e.press(d, "Command3(1)");
        } else if (how == "escape") {
            QTest::keyClick(d, Qt::Key_Escape);
        } else if (how == "close") {
            d->close();
        } else if (how == "disconnect") {
            e.form->session().ShowDisconnected();
        } else {
            e.prompter.answers = {Prompter::Answer::No};
            e.form->close();
        }
        QCOMPARE(e.line.written, after);
        QCOMPARE(e.closed("Form3"), how != "disconnect" && how != "exit");
        QCOMPARE(e.program().InsertMode(), how != "cancel" && how != "escape");
        if (how == "disconnect") {
            d->close();  // nothing more to hold: the line is closed
            QCOMPARE(e.line.written, after);
        }
    }

    // Esc in the input-condition and output dialogs is their 取消: the modes are cleared.
    void escapeCancels() {
        for (const char* dialog : {"Command10:XIN", "Command11:XOUT"}) {
            Editor e;
            e.load({kDelay});
            e.arm("Command8", 1);
            const QStringList names = QString::fromUtf8(dialog).split(':');
            QDialog* d = e.open(names[0], names[1]);
            QTest::keyClick(d, Qt::Key_Escape);
            QVERIFY(e.closed(names[1]));
            QVERIFY2(e.modesClear(), dialog);
            QCOMPARE(e.row(1), kDelay);
        }
    }

    // In numeric entry the jog teaches: the target follows the slide it sent, and
    // 取目前位置 takes the live position with the slide held. In teach entry (the slide
    // free) and disconnected, the buttons that move or read the slide are off and say why.
    void jogAndTakePosition() {
        Editor e;
        e.line.openState = true;
        QDialog* d = e.open("Command19", "Form3");
        pollTimer(e.form->session()).stop();
        e.line.written.clear();
        e.line.replies = {"10\r"};
        e.press(d, "TakePosition");
        QCOMPARE(e.line.written, QByteArray("?PE\r"));
        QCOMPARE(e.in<QLineEdit>(d, "Text1(0)")->text(), QString("10"));
        e.choose(d, "JogStep", "10");
        for (int i = 0; i < 2; ++i) {
            e.line.replies = {QByteArray::number(10 + 10 * i) + "\r"};
            e.press(d, "TakePosition");
            e.press(d, "JogPlus");
        }
        QVERIFY(e.line.written.endsWith("MA 30\r"));
        QCOMPARE(e.in<QLineEdit>(d, "Text1(0)")->text(), QString("30"));
        e.line.replies = {"OK\r"};
        e.press(d, "TakePosition");
        QCOMPARE(e.messages(), QStringList{"無法讀取滑台座標!"});
        QCOMPARE(e.in<QLineEdit>(d, "Text1(0)")->text(), QString("30"));
        // A target no line can carry is refused in words, as any other that is no number.
        e.type(d, "Text1(0)", "😀");
        e.line.written.clear();
        e.press(d, "Command2");
        QCOMPARE(e.line.written, QByteArray());
        QCOMPARE(e.messages().last(), QString("「😀」不是數字, 指令未送出!"));
        e.type(d, "Text1(0)", "30");
        e.press(d, "Command3(0)");
        QCOMPARE(e.row(1), (Row{"POINT", "絕對移動", "30", "-", "-"}));

        d = e.open("Command19", "Form3");
        e.pick(d, "Option2(1)");
        for (const char* name : {"JogMinus", "JogPlus", "Command2", "TakePosition"}) {
            QVERIFY2(!e.in(d, name)->isEnabled(), name);
            QVERIFY(!e.in(d, name)->toolTip().isEmpty());
        }
        e.pick(d, "Option2(0)");
        QVERIFY(e.in(d, "JogPlus")->isEnabled());
        e.line.openState = false;
        QTRY_VERIFY_WITH_TIMEOUT(!e.in(d, "JogPlus")->isEnabled(), 2000);
    }

    // Enter in a field confirms the dialog: it flips no sense button and moves no slide.
    void enterConfirms_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("field");
        QTest::addColumn<Row>("stored");
        QTest::newRow("IN") << "Command10"
                            << "XIN"
                            << "Combo1" << Row{"IN+", "3", "IN+", "-", "-"};
        QTest::newRow("OUT") << "Command11"
                             << "XOUT"
                             << "Combo1" << Row{"SETP", "3", "ON", "-", "-"};
        QTest::newRow("absolute move") << "Command19"
                                       << "Form3"
                                       << "Text1(0)" << Row{"POINT", "絕對移動", "3", "-", "-"};
    }

    void enterConfirms() {
        QFETCH(QString, button);
        QFETCH(QString, dialog);
        QFETCH(QString, field);
        QFETCH(Row, stored);
        Editor e;
        e.line.openState = true;  // connected: 定位 could move the slide
        QDialog* d = e.open(button, dialog);
        if (dialog == "XOUT") {
            e.pick(d, "Option1(0)");
        }
        e.line.written.clear();
        QWidget* edit = e.in(d, field);
        if (auto* combo = qobject_cast<QComboBox*>(edit)) {
            combo->setEditText("3");
            edit = combo->lineEdit();
        } else {
            static_cast<QLineEdit*>(edit)->setText("3");
        }
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(e.closed(dialog));
        QCOMPARE(e.row(1), stored);
        QVERIFY(!e.line.written.contains("MA"));
    }

    void speedDialog() {
        Editor e;
        QDialog* d = e.open("Command1", "Form4");
        QCOMPARE(d->windowTitle(), QString("速度"));
        QVERIFY(!e.form->centralWidget()->isEnabled());  // the main window waits for it
        QVERIFY(d->isEnabled());
        auto* slider = e.in<QSlider>(d, "Slider1");
        QCOMPARE(slider->value(), 100);
        QCOMPARE(e.in<QLabel>(d, "Label1")->text(), QString("100"));
        QCOMPARE(e.in<QLabel>(d, "Label2")->text(), QString("MM/SEC"));
        // Keys and the wheel move the label with the slider: it shows what 確認 stores.
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_PageUp);
        QTest::keyClick(slider, Qt::Key_Right);
        QWheelEvent wheel(QPointF(5, 5), slider->mapToGlobal(QPointF(5, 5)), {}, {0, 120},
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(slider, &wheel);
        const int moved = slider->value();
        QVERIFY(moved > 101);
        QCOMPARE(e.in<QLabel>(d, "Label1")->text(), QString::number(moved));
        e.press(d, "Command1");
        QCOMPARE(e.row(1), (Row{"VM", QString::number(moved), "速度", "-", "-"}));
        QVERIFY(e.form->centralWidget()->isEnabled());
        QVERIFY(e.program().ProgramChanged());

        d = e.open("Command1", "Form4");
        QCOMPARE(e.in<QSlider>(d, "Slider1")->value(), moved);
        QTest::mouseClick(e.in<QSlider>(d, "Slider1"), Qt::LeftButton, {}, QPoint(1, 5));
        QCOMPARE(e.in<QLabel>(d, "Label1")->text(),
                 QString::number(e.in<QSlider>(d, "Slider1")->value()));
        e.in<QSlider>(d, "Slider1")->setValue(0);
        e.press(d, "Command1");
        QCOMPARE(e.row(2)[1], QString("0"));

        e.arm("Command8", 1);
        d = e.open("Command1", "Form4");
        e.press(d, "Command1");
        QCOMPARE(e.row(1), (Row{"VM", "0", "速度", "-", "-"}));
        QCOMPARE(e.program().RowCounter(), 2);

        // A typed value moves the slider and is what 確認 stores, also without Enter; one
        // beyond the slider's limits is refused with them named and stores nothing.
        d = e.open("Command1", "Form4");
        auto* typed = e.in<QLineEdit>(d, "SpeedTyped");
        QCOMPARE(typed->text(), QString("0"));
        typed->clear();
        QTest::keyClicks(typed, "200");
        QCOMPARE(e.in<QSlider>(d, "Slider1")->value(), 200);
        QCOMPARE(e.in<QLabel>(d, "Label1")->text(), QString("200"));
        for (const char* wrong : {"501", "-1", "12.5", "fast"}) {
            typed->setText(wrong);
            e.press(d, "Command1");
            QCOMPARE(e.prompter.messages.back().text,
                     QString("速度「%1」不是 0 到 500 之間的整數!").arg(wrong));
            QVERIFY(d->isVisible());
            QCOMPARE(e.in<QSlider>(d, "Slider1")->value(), 200);
        }
        typed->setText("350");
        QTest::keyClick(typed, Qt::Key_Return);
        QCOMPARE(e.row(3), (Row{"VM", "350", "速度", "-", "-"}));
        QCOMPARE(e.program().RowCounter(), 3);

        // While another row dialog is open the speed entry only brings it to the front and
        // leaves the main window as it is; the speed dialog's close box stores nothing and
        // gives the main window back.
        QDialog* input = e.open("Command10", "XIN");
        const qsizetype speedDialogs = e.form->findChildren<QDialog*>("Form4").size();
        e.click("Command1");
        QCOMPARE(e.form->findChildren<QDialog*>("Form4").size(), speedDialogs);
        QVERIFY(e.form->centralWidget()->isEnabled());
        e.press(input, "Command2");
        d = e.open("Command1", "Form4");
        QVERIFY(!e.form->centralWidget()->isEnabled());
        d->close();
        QCOMPARE(e.program().RowCounter(), 3);
        QVERIFY(e.form->centralWidget()->isEnabled());
    }

    void fullTableInADialog() {
        Editor e;
        e.load(QList<Row>(kMaxProgramRows, kDelay));
        QDialog* d = e.open("Command15", "STEP");
        e.press(d, "Command1");
        QCOMPARE(e.program().RowCounter(), kMaxProgramRows);
        QCOMPARE(e.messages(), QStringList{storeRefusalMessage(StoreOutcome::TableFull)});
        QVERIFY(e.closed("STEP"));
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
