// What the console panel alone does: it enables its controls with the connection, shows
// what the session reads, forwards the operator's presses and Enter in its fields, and its
// progress window's Esc cancels the upload. The exchanges themselves are the session's.
#include "support/formfixture.h"
#include "support/quietoffscreen.h"

#include <QCheckBox>
#include <QProgressDialog>

using namespace tql;
using tql::test::pollTimer;
using Answer = Prompter::Answer;

namespace {

struct Console : tql::test::FormFixture {
    void connect() {
        line.replies = {"100\r", "", "", "2000\r", "100\r"};
        click("連線鍵");
        line.written.clear();
        prompter.messages.clear();
    }
    bool input(int k) const { return find<QCheckBox>(QString("Check1(%1)").arg(k))->isChecked(); }
};

const QStringList kConnectedControls = {"原點",      "Command16", "Command17", "Command18",
                                        "Command20", "Command21", "Command22", "停止",
                                        "Text1",     "Text3",     "Text6",     "Text7"};

}  // namespace

class TestConsolePanel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tql::test::installQuietHandler(); }

    void showsTheConnection() {
        Console c;
        c.connect();
        for (const QString& name : kConnectedControls) {
            QVERIFY2(c.find(name)->isEnabled(), qPrintable(name));
        }
        QVERIFY(!c.find("連線鍵")->isEnabled());
        QCOMPARE(c.text("Text2"), QString("2000\r"));
        QCOMPARE(c.text("Text4"), QString("100\r"));
        QCOMPARE(c.panel(1), QString("連線中"));

        c.find<QCheckBox>("Check4(2)")->setChecked(true);
        c.line.replies = {"12.5\r", "", "1\r"};
        pollTimer(c.form->session()).setInterval(0);
        QTRY_COMPARE_WITH_TIMEOUT(c.text("Text5"), QString("12.5\r"), 2000);
        QVERIFY(c.input(1) && !c.input(2));
        QVERIFY(c.line.written.endsWith("SET P2\r"));

        c.click("Command22");
        for (const QString& name : kConnectedControls) {
            QVERIFY2(!c.find(name)->isEnabled(), qPrintable(name));
        }
        QVERIFY(c.find("連線鍵")->isEnabled());
        for (const char* display : {"Text5", "Text2", "Text4"}) {
            QCOMPARE(c.text(display), QString());
        }
        QVERIFY(!c.input(1));
        QCOMPARE(c.panel(1), QString("未連線"));
    }

    // A press the session refuses while another exchange holds the line is said, not lost
    // in silence.
    void aRefusedPressIsSaid() {
        Console c;
        c.connect();
        const ControllerSession::Hold upload(c.form->session());
        c.click("原點");
        QCOMPARE(c.line.written, QByteArray());
        QCOMPARE(c.prompter.messages.back().text, lineHeldMessage());
    }

    // Enter in a console field does what its button does, and only while the button could.
    void enterDoesWhatItsButtonDoes_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("定位") << "Text6" << QByteArray("MA 5\r");
        QTest::newRow("加速度") << "Text1" << QByteArray("VA=5\r?VA\r?VM\r");
        QTest::newRow("速度") << "Text3" << QByteArray("VM=5\r?VA\r?VM\r");
        QTest::newRow("立即指令") << "Text7" << QByteArray("5\r");
    }

    void enterDoesWhatItsButtonDoes() {
        QFETCH(QString, field);
        QFETCH(QByteArray, sent);
        Console c;
        c.form->session().ShowDisconnected();
        auto* edit = c.find<QLineEdit>(field);
        edit->setEnabled(true);
        edit->setText("5");
        QTest::keyClick(edit, Qt::Key_Return);  // disconnected: the button is disabled
        QVERIFY(c.prompter.messages.empty());
        c.connect();
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(c.line.written, sent);
    }

    // A screen reader names every field by its own label, not by the frame's title.
    void fieldsHaveTheirOwnNames() {
        Console c;
        QStringList names;
        for (const char* field :
             {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8"}) {
            names << c.find(QString::fromLatin1(field))->accessibleName();
        }
        QCOMPARE(names, (QStringList{"加速度", "內部加速度", "速度", "內部速度", "滑台座標", "定位",
                                     "立即指令", "控制回應"}));
        QCOMPARE(c.find<QCheckBox>("Check1(3)")->focusPolicy(), Qt::NoFocus);
    }

    void touchedInputsSayNothingAnswers() {
        Console c;
        QTest::mouseClick(c.find<QCheckBox>("Check1(3)"), Qt::LeftButton);
        QCOMPARE(c.messages(), QStringList{" Not Response !!  連線錯誤 !"});
    }

    // Esc in the progress window is its 取消: the upload stops after the line on the wire.
    void escInTheProgressWindowCancels() {
        Console c;
        c.connect();
        c.load({{"HOME", "回原點", "-", "-", "-"}});
        c.line.replies = {"100\r"};
        bool shown = false;
        QObject::connect(&c.form->session(), &ControllerSession::uploadProgress, c.form.get(),
                         [&](int sent) {
                             auto* progress = c.form->findChild<QProgressDialog*>("UploadProgress");
                             if (sent == 2 && progress != nullptr) {
                                 shown = progress->isVisible();
                                 QTest::keyClick(progress, Qt::Key_Escape);
                             }
                         });
        c.click("Command3");
        QVERIFY(shown);
        QCOMPARE(c.messages(), QStringList{uploadCancelledMessage(2, 5)});
        QVERIFY(c.line.written.endsWith("{\rCLR VAR;\r\r"));
    }
};

QTEST_MAIN(TestConsolePanel)
#include "tst_consolepanel.moc"
