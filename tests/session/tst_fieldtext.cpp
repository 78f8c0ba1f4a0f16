// The console's and the teach dialog's rules for what the operator types and what the
// controller's readings hold.
#include "session/fieldtext.h"

#include <QTest>

using namespace tql;

class TestFieldText : public QObject {
    Q_OBJECT

private slots:
    // A late controller leaves several replies in one read: the last complete one counts.
    void teachReadings_data() {
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("position");
        QTest::newRow("one") << "12.5\r"
                             << "12.5";
        QTest::newRow("three, late") << "10.5\r11.5\r0\r"
                                     << "0";
        QTest::newRow("last one incomplete") << "10.5\r11."
                                             << "10.5";
        QTest::newRow("none complete") << "-3"
                                       << "-3";
        QTest::newRow("with LF") << "7\r\n"
                                 << "7";
        QTest::newRow("nothing") << ""
                                 << "";
    }

    void teachReadings() {
        QFETCH(QString, read);
        QFETCH(QString, position);
        QCOMPARE(teachReading(read), position);
    }

    void jogTargets_data() {
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("step");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("target");
        QTest::newRow("up a tenth") << "12.5\r"
                                    << "0.1" << true << "12.6";
        QTest::newRow("down ten") << "3\r"
                                  << "10" << false << "-7";
        QTest::newRow("three decimals") << "12.345\r"
                                        << "0.001" << true << "12.346";
        QTest::newRow("whole result") << "0.5\r"
                                      << "0.5" << true << "1";
        QTest::newRow("late replies: the last counts") << "1\r2\r"
                                                       << "1" << true << "3";
        QTest::newRow("no position read") << ""
                                          << "1" << true << "";
        QTest::newRow("step not a number") << "5\r"
                                           << "abc" << true << "";
    }

    void jogTargets() {
        QFETCH(QString, read);
        QFETCH(QString, step);
        QFETCH(bool, up);
        QFETCH(QString, target);
        QCOMPARE(jogTarget(read, step, up).value_or(QString()), target);
    }

    void numberFields_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("number");
        for (const char* yes : {"12", "-12.5", "+3", " 7 ", ".5", "5.", "0"}) {
            QTest::newRow(yes) << QString(yes) << true;
        }
        for (const char* no :
             {"", " ", "abc", "fast", "1.2.3", "1,5", "12mm", "--1", "1e3", "- 1", "."}) {
            QTest::newRow(qPrintable(QString("'%1'").arg(no))) << QString(no) << false;
        }
    }

    void numberFields() {
        QFETCH(QString, text);
        QFETCH(bool, number);
        QCOMPARE(isNumberText(text), number);
    }
};

QTEST_APPLESS_MAIN(TestFieldText)
#include "tst_fieldtext.moc"
