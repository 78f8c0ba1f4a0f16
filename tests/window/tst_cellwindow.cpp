// What the window does for a cell: 設定 > 控制器 adds a controller with a console of its own
// and refuses a port taken, each console talks only on its own line, 上傳到多台控制器 sends
// the program to the chosen ones, removing a connected controller signs it off first, F12
// and 結束 reach every controller. The cell's rules and each session's exchanges are tested
// below the window.
#include "session/usersettings.h"
#include "support/formfixture.h"
#include "support/quietoffscreen.h"
#include "window/sessionclient.h"
#include "window/trendchart.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialog>
#include <QLineSeries>
#include <QListWidget>
#include <QScrollArea>
#include <QStatusBar>
#include <QValueAxis>

using namespace tql;
using tql::test::pollTimer;
using Answer = Prompter::Answer;

namespace {

const QByteArray kGreeting[] = {"100\r", "", "", "2000\r", "100\r"};
const Row kTo123 = {"POINT", "絕對移動", "123", "-", "-"};

// The operator's settings hold no cell before the window opens.
struct NoStoredCell {
    NoStoredCell() { userSettings().remove("cell"); }
};

struct Workshop : NoStoredCell, tql::test::FormFixture {
    Workshop() : FormFixture("1\r\n") {}

    QWidget* dialog() const {
        trigger("控制器");
        return find("CellDialog");
    }
    // Through 設定 > 控制器, as the operator adds one; the dialog's note afterwards.
    QString add(const QString& name, const QString& port) const {
        QWidget* cell = dialog();
        cell->findChild<QLineEdit*>("CellName")->setText(name);
        cell->findChild<QComboBox*>("CellPort")->setCurrentText(port);
        QTest::mouseClick(cell->findChild<QPushButton*>("CellAdd"), Qt::LeftButton);
        return cell->findChild<QLabel*>("CellNote")->text();
    }
    CellConsole* console(const QString& name) const {
        return form->findChild<CellConsole*>(QString("Console(%1)").arg(name));
    }
    void connect(tql::test::ScriptedLine& scripted, QPushButton* button) {
        scripted.replies.assign(std::begin(kGreeting), std::end(kGreeting));
        QTest::mouseClick(button, Qt::LeftButton);
        scripted.written.clear();
    }
    QPushButton* button(const QString& controller, const QString& name) const {
        return console(controller)->findChild<QPushButton*>(name);
    }
};

}  // namespace

class TestCellWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tql::test::installQuietHandler(); }

    // A controller added has its dock, its connection in the status bar and its line in
    // 趨勢, and is kept for the next start; a port another controller has is refused and
    // said, nothing added. The first controller's client area keeps its whole size.
    void addingAController() {
        Workshop c;
        const QSize before = c.find<QScrollArea>("ClientArea")->viewport()->size();
        QVERIFY(!c.form->findChild<QAction*>("UploadToSeveral")->isEnabled());
        QCOMPARE(c.add("壓床", "/dev/ttyUSB0"), QString());
        QVERIFY(c.console("壓床") != nullptr);
        QVERIFY(c.form->findChild<QAction*>("UploadToSeveral")->isEnabled());
        QCOMPARE(c.find<QLabel>("Connection(壓床)")->text(), QString("壓床: 未連線"));
        QCOMPARE(c.add("鑽床", "/dev/ttyS0"),
                 QString("連接埠 /dev/ttyS0 已由控制器「控制器 1」使用."));
        QVERIFY(c.console("鑽床") == nullptr);
        QCOMPARE(c.cellLines.size(), size_t(1));
        QApplication::processEvents();
        QVERIFY(c.find<QScrollArea>("ClientArea")->viewport()->width() >= before.width());
        QChart* chart = c.find<TrendChart>("Trend")->findChild<QChartView*>()->chart();
        QCOMPARE(chart->series().size(), 2);
        QVERIFY(chart->legend()->isVisible());

        // 設定 > COM_PORT may not take the port of another controller either.
        c.prompter.inputs = {"/dev/ttyUSB0"};
        c.form->findChild<QAction*>("其他")->trigger();
        QCOMPARE(c.prompter.messages.back().text,
                 QString("連接埠 /dev/ttyUSB0 已由控制器「壓床」使用."));
        QCOMPARE(c.form->session().portNumber(), QString("1"));
        // Nor --simulator's port for this run.
        c.form->usePortForThisRun("/dev/ttyUSB0");
        QCOMPARE(c.form->session().portNumber(), QString("1"));
        QCOMPARE(c.prompter.messages.back().text,
                 QString("連接埠 /dev/ttyUSB0 已由控制器「壓床」使用."));

        FORM1 again(c.prompter, c.line, c.sleeper, QDir(c.dir.path()), nullptr, [&c] {
            auto means = std::make_unique<tql::test::ScriptedMeans>();
            c.cellLines.push_back(&means->scripted);
            return means;
        });
        QCOMPARE(again.cellConsoles().size(), size_t(1));
        QCOMPARE(again.cellConsoles().front()->controller(),
                 (CellController{"壓床", "/dev/ttyUSB0"}));
    }

    // Each console talks on its own line only, its readings in its own console and its
    // own line of the chart; its boxes name it.
    void eachConsoleItsOwnLine() {
        Workshop c;
        c.add("壓床", "/dev/ttyUSB0");
        tql::test::ScriptedLine& press = *c.cellLines.front();
        c.connect(press, c.button("壓床", "連線鍵"));
        QCOMPARE(press.openedPorts, QStringList{"/dev/ttyUSB0"});
        QVERIFY(c.line.openedPorts.isEmpty());
        QCOMPARE(c.prompter.messages.back().title, QString("訊息 - 壓床"));
        QCOMPARE(c.find<QLabel>("Connection(壓床)")->text(), QString("壓床: 連線中"));
        QCOMPARE(c.panel(1), QString("未連線"));

        ControllerSession& session = c.console("壓床")->client().session();
        press.replies = {"42.5\r", "", "0\r"};
        pollTimer(session).setSingleShot(true);
        pollTimer(session).start(0);
        QTRY_COMPARE_WITH_TIMEOUT(c.console("壓床")->findChild<QLineEdit*>("Text5")->text(),
                                  QString("42.5\r"), 2000);
        QCOMPARE(c.text("Text5"), QString("0"));
        QChart* chart = c.find<TrendChart>("Trend")->findChild<QChartView*>()->chart();
        QCOMPARE(qobject_cast<QLineSeries*>(chart->series().at(0))->count(), 0);
        QCOMPARE(qobject_cast<QLineSeries*>(chart->series().at(1))->count(), 1);
    }

    // The connected ones are offered; each chosen one gets the program and asks its own
    // questions. F12 stops every connected controller.
    void uploadToSeveralAndStopThemAll() {
        Workshop c;
        c.add("壓床", "/dev/ttyUSB0");
        c.add("鑽床", "/dev/ttyUSB1");
        c.connect(c.line, c.form->centralWidget()->findChild<QPushButton*>("連線鍵"));
        c.connect(*c.cellLines[1], c.button("鑽床", "連線鍵"));
        c.load({kTo123});
        c.trigger("UploadToSeveral");
        auto* choice = c.find<QDialog>("UploadChoice");
        auto* targets = choice->findChild<QListWidget*>("UploadTargets");
        QCOMPARE(targets->count(), 3);
        QCOMPARE(targets->item(1)->checkState(), Qt::Unchecked);  // not connected
        QCOMPARE(targets->item(2)->checkState(), Qt::Checked);
        c.prompter.messages.clear();
        c.prompter.answers = {Answer::No, Answer::No, Answer::No, Answer::No};
        c.line.replies = {"100\r"};
        c.cellLines[1]->replies = {"100\r"};
        choice->accept();
        QTRY_VERIFY_WITH_TIMEOUT(c.cellLines[1]->written.contains("123"), 2000);
        QVERIFY(c.line.written.contains("123"));
        QVERIFY(c.cellLines[0]->written.isEmpty());
        QStringList titles;
        for (const auto& shown : c.prompter.messages) {
            titles << shown.title;
        }
        QVERIFY2(titles.filter(" - 鑽床").size() == 2, qPrintable(titles.join('|')));

        c.line.written.clear();
        c.cellLines[1]->written.clear();
        QTest::keyClick(c.list(), Qt::Key_F12);
        QVERIFY(!c.line.written.isEmpty());
        QCOMPARE(c.cellLines[1]->written, c.line.written);
    }

    // Removed while connected: signed off on its own line first, then gone from the
    // window and from what the next start opens. 結束 signs off every one still there.
    void removingSignsOffFirst() {
        Workshop c;
        c.add("壓床", "/dev/ttyUSB0");
        c.add("鑽床", "/dev/ttyUSB1");
        tql::test::ScriptedLine& press = *c.cellLines[0];
        tql::test::ScriptedLine& drill = *c.cellLines[1];
        c.connect(press, c.button("壓床", "連線鍵"));
        c.connect(drill, c.button("鑽床", "連線鍵"));
        QWidget* cell = c.dialog();
        auto* list = cell->findChild<QTreeWidget*>("CellList");
        auto* remove = cell->findChild<QPushButton*>("CellRemove");
        list->setCurrentItem(list->topLevelItem(0));
        QVERIFY(!remove->isEnabled());  // the first stays
        list->setCurrentItem(list->topLevelItem(1));
        QTest::mouseClick(remove, Qt::LeftButton);
        // Read before the console, and its line with it, goes at the next events.
        QVERIFY(press.written.endsWith("EC 1\r"));
        QVERIFY(!press.isOpen());
        QVERIFY(drill.isOpen());
        QTRY_VERIFY_WITH_TIMEOUT(c.console("壓床") == nullptr, 2000);
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(storedCellControllers(userSettings()),
                 (std::vector<CellController>{{"鑽床", "/dev/ttyUSB1"}}));

        drill.written.clear();
        QVERIFY(c.form->close());
        QVERIFY(drill.written.endsWith("EC 1\r"));
    }

    // 趨勢 with a line for each controller: a port closed clears only its own line, and the
    // chart starts afresh only when every line is empty; a controller removed takes its
    // line away, and with one line left the legend goes too. The axis spans every line.
    void oneChartOfEveryPosition() {
        TrendChart trend;
        QChart* chart = trend.findChild<QChartView*>()->chart();
        const auto points = [chart](int line) {
            return qobject_cast<QLineSeries*>(chart->series().at(line))->count();
        };
        trend.addLine({}, "滑台");
        QVERIFY(!chart->legend()->isVisible());
        trend.addLine("壓床", "壓床");
        QVERIFY(chart->legend()->isVisible());
        QCOMPARE(chart->series().at(0)->name(), QString("滑台"));
        trend.addPoint(20, 10);
        trend.addPoint("壓床", 21, 300);
        const auto* axis = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
        QCOMPARE((std::pair{axis->min(), axis->max()}), (std::pair{10.0 - 14.5, 300.0 + 14.5}));
        trend.clear();
        QCOMPARE(points(0), 0);
        QCOMPARE(points(1), 1);
        QCOMPARE(axis->max(), 300.0 + 14.5);  // the press's line still shown
        trend.clear("壓床");
        QCOMPARE((std::pair{axis->min(), axis->max()}), (std::pair{0.0, 100.0}));
        trend.removeLine("壓床");
        trend.removeLine({});  // the first's line stays
        QCOMPARE(chart->series().size(), 1);
        QVERIFY(!chart->legend()->isVisible());
        trend.addPosition("壓床", 7);  // a reading on its way as it went
        QCOMPARE(chart->series().size(), 1);
        QCOMPARE(points(0), 0);
    }

    // tql400 --port: the cell of this run, the first in DATA.TXT's place; nothing stored.
    void aCellForThisRun() {
        Workshop c;
        c.add("壓床", "/dev/ttyUSB0");
        tql::Cell cell("/dev/ttyS3", "滑台");
        QVERIFY(!cell.add({"鑽床", "/dev/ttyUSB1"}));
        c.form->useCellForThisRun(cell);
        QApplication::processEvents();
        QCOMPARE(c.form->session().portNumber(), QString("/dev/ttyS3"));
        QCOMPARE(c.form->cellConsoles().size(), size_t(1));
        QCOMPARE(c.form->cellConsoles().front()->controller().name, QString("鑽床"));
        c.add("車床", "/dev/ttyUSB2");
        QCOMPARE(storedCellControllers(userSettings()),
                 (std::vector<CellController>{{"壓床", "/dev/ttyUSB0"}}));
    }
};

// On a laptop's screen, 1366×768: room for the first's window and a console beside it.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TQL_SCREEN_CONFIG);
    QApplication app(argc, argv);
    TestCellWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_cellwindow.moc"
