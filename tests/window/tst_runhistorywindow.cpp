// The run history's window: the runs listed and charted, for the program chosen, exported
// as listed; a history it cannot read is said.
#include "window/runhistorywindow.h"

#include "support/quietoffscreen.h"
#include "support/scriptedprompter.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QXYSeries>

using namespace tql;
using tql::test::ScriptedPrompter;

namespace {

RunRecord aRun(const QString& file, int minute, std::optional<double> measured) {
    RunRecord run;
    run.when = QDateTime(QDate(2026, 12, 9), QTime(9, minute), Qt::UTC);
    run.file = file;
    run.hash = "h";
    run.port = "1";
    run.estimate = 2.0;
    run.measured = measured;
    run.outcome = measured ? RunOutcome::Ended : RunOutcome::Stopped;
    return run;
}

}  // namespace

class TestRunHistoryWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tql::test::installQuietHandler(); }

    void listsChartsAndExportsTheChosenProgram() {
        QTemporaryDir dir;
        const QString path = dir.filePath("runs.sqlite");
        {
            RunHistory history(path);
            QVERIFY(!history.add(aRun("/p/a.tq4", 1, 2.1)));
            QVERIFY(!history.add(aRun("/p/b.tq4", 2, 3.0)));
            QVERIFY(!history.add(aRun("/p/a.tq4", 3, std::nullopt)));
        }
        ScriptedPrompter prompter;
        RunHistoryWindow window(prompter, path, nullptr);
        window.show();
        auto* table = window.findChild<QTableWidget*>("RunHistoryTable");
        auto* programs = window.findChild<QComboBox*>("RunHistoryProgram");
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(programs->count(), 3);  // all, a.tq4, b.tq4
        programs->setCurrentIndex(programs->findText("a.tq4"));
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(0, 5)->text(), QString("+5.0 %"));
        QCOMPARE(table->item(1, 4)->text(), QString("-"));
        QCOMPARE(table->item(1, 6)->text(), QString("已停止"));
        const QList<QAbstractSeries*> series =
            window.findChild<QChartView*>("RunHistoryChart")->chart()->series();
        QCOMPARE(series.size(), 2);
        QCOMPARE(qobject_cast<QXYSeries*>(series[0])->count(), 2);  // estimated twice
        QCOMPARE(qobject_cast<QXYSeries*>(series[1])->count(), 1);  // measured once

        const QString csv = dir.filePath("a.csv");
        prompter.fileNames = {csv};
        QTest::mouseClick(window.findChild<QPushButton*>("RunHistoryExport"), Qt::LeftButton);
        QFile written(csv);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), runsCsv({aRun("/p/a.tq4", 1, 2.1), aRun("/p/a.tq4", 3, {})}));

        // A new run shows with the program still chosen.
        QVERIFY(!RunHistory(path).add(aRun("/p/a.tq4", 4, 2.0)));
        window.reload();
        QCOMPARE(programs->currentText(), QString("a.tq4"));
        QCOMPARE(table->rowCount(), 3);
    }

    void aHistoryItCannotReadIsSaid() {
        QTemporaryDir dir;
        QFile damaged(dir.filePath("runs.sqlite"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(4096, 'x'));
        damaged.close();
        ScriptedPrompter prompter;
        RunHistoryWindow window(prompter, damaged.fileName(), nullptr);
        window.show();
        auto* error = window.findChild<QLabel*>("RunHistoryError");
        QVERIFY(error->isVisible());
        QVERIFY(error->text().startsWith("執行紀錄 "));
        QCOMPARE(window.findChild<QTableWidget*>("RunHistoryTable")->rowCount(), 0);
    }
};

QTEST_MAIN(TestRunHistoryWindow)
#include "tst_runhistorywindow.moc"
