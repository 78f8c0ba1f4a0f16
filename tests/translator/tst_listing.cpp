// The program as a listing: each row with the controller lines it becomes, and as CSV.
#include "translator/listing.h"

#include "support/programrows.h"

#include <QTest>

using namespace tql;

class TestListing : public QObject {
    Q_OBJECT

private slots:
    // Lines go to the row they came from; a kind that gives none lists none; a program the
    // translator refuses (a loop never closed) is listed all the same.
    void eachRowWithItsLines() {
        const ProgramTable table = test::tableOf({{"LOOP", "2", "迴圈", "-", "-"},
                                                  {"POINT", "絕對移動", "10", "-", "a, \"b\""},
                                                  {"LINE", "1", "2", "-", "-"}});
        const std::vector<ListingRow> listing = programListing(table, 3);
        QCOMPARE(listing.size(), size_t(3));
        QCOMPARE(listing[1].row, 2);
        QCOMPARE(listing[1].controllerText, (QStringList{"MA 10;", "DN;"}));
        QVERIFY(listing[2].controllerText.isEmpty());
        QVERIFY(!listing[0].controllerText.isEmpty());
        QCOMPARE(listingCsv(listing).split('\n').value(2),
                 QByteArray("2,POINT,絕對移動,10,-,\"a, \"\"b\"\"\",MA 10; DN;\r"));
        QVERIFY(listingCsv(listing).startsWith("row,keyword,data,x,note,note2,controller\r\n"));
    }
};

QTEST_APPLESS_MAIN(TestListing)
#include "tst_listing.moc"
