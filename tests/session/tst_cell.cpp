// The controllers of a cell: which may join it, the first kept apart, and how they are kept.
#include "session/cell.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tql;

class TestCell : public QObject {
    Q_OBJECT

private slots:
    void whoMayJoin_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("refusal");  // empty: joins
        QTest::newRow("a name and a port of its own") << "壓床"
                                                      << "/dev/ttyUSB0"
                                                      << "";
        QTest::newRow("no name") << " "
                                 << "/dev/ttyUSB0"
                                 << "控制器需要一個名稱.";
        QTest::newRow("no port") << "壓床"
                                 << ""
                                 << "控制器「壓床」需要一個連接埠.";
        QTest::newRow("a name taken") << "滑台"
                                      << "/dev/ttyUSB0"
                                      << "已有名為「滑台」的控制器.";
        // COM1 and /dev/ttyS0 are one port here.
        QTest::newRow("the first's port by another name")
            << "壓床"
            << "/dev/ttyS0"
            << "連接埠 /dev/ttyS0 已由控制器「控制器 1」使用.";
        QTest::newRow("a port taken") << "壓床"
                                      << "/dev/ttyUSB1"
                                      << "連接埠 /dev/ttyUSB1 已由控制器「滑台」使用.";
        QTest::newRow("an equals sign") << "A=B"
                                        << "/dev/ttyUSB0"
                                        << "控制器的名稱不能含有「=」: A=B";
    }

    void whoMayJoin() {
        QFETCH(QString, name);
        QFETCH(QString, port);
        QFETCH(QString, refusal);
        Cell cell("1");
        QVERIFY(!cell.add({"滑台", "/dev/ttyUSB1"}));
        const std::optional<QString> said = cell.add({name, port});
        QCOMPARE(said.value_or(QString()), refusal);
        QCOMPARE(cell.controllers().size(), size_t(refusal.isEmpty() ? 3 : 2));
    }

    // The first stays; the others are kept as "NAME=PORT", and what is no such entry is
    // passed over when read back.
    void theFirstStaysAndTheOthersAreKept() {
        Cell cell("2");
        QVERIFY(!cell.add({"壓床", "/dev/ttyUSB0"}));
        QVERIFY(!cell.add({"滑台", "/dev/ttyUSB1"}));
        QVERIFY(!cell.remove(cell.controllers().front().name));
        QVERIFY(cell.remove("壓床"));
        QVERIFY(!cell.remove("壓床"));
        QTemporaryDir dir;
        QSettings settings(dir.filePath("tql400.conf"), QSettings::IniFormat);
        storeCellControllers(settings, cell);
        QCOMPARE(storedCellControllers(settings),
                 (std::vector<CellController>{{"滑台", "/dev/ttyUSB1"}}));
        settings.setValue("cell/controllers", QStringList{"=x", "y=", "z", "鑽床=COM3"});
        QCOMPARE(storedCellControllers(settings), (std::vector<CellController>{{"鑽床", "COM3"}}));
        QCOMPARE(parseCellController(" 壓床 = /dev/ttyUSB0 ")->port, QString("/dev/ttyUSB0"));
    }

    // 設定 > COM_PORT may move the first only to a port no other controller has.
    void theFirstMovesToAFreePort() {
        Cell cell("1", "滑台");
        QVERIFY(!cell.add({"壓床", "/dev/ttyUSB0"}));
        QCOMPARE(cell.setFirstPort("/dev/ttyUSB0").value_or(QString()),
                 QString("連接埠 /dev/ttyUSB0 已由控制器「壓床」使用."));
        QVERIFY(!cell.setFirstPort("COM1"));  // its own port, by another name
        QVERIFY(!cell.setFirstPort("/dev/ttyUSB1"));
        QCOMPARE(cell.controllers().front(), (CellController{"滑台", "/dev/ttyUSB1"}));
    }
};

QTEST_APPLESS_MAIN(TestCell)
#include "tst_cell.moc"
