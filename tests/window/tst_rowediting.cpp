// The editor's menu for the rows the list highlights: what each command does with the
// highlight and the clipboard (the row operations themselves are the program's).
#include "support/formfixture.h"
#include "support/quietoffscreen.h"
#include "window/controls.h"
#include "window/programlistview.h"

#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QListWidget>
#include <QMimeData>
#include <QTest>

using namespace tql;

namespace {

const QList<Row> kRows = {{"VM", "100", "速度", "-", "-"},
                          {"POINT", "絕對移動", "10", "-", "-"},
                          {"WT", "500", "延遲", "-", "-"},
                          {"HOME", "回原點", "-", "-", "-"}};

struct Editor : test::FormFixture {
    Editor() { load(kRows); }
    void shiftClickRow(int row) const {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          list()->visualItemRect(list()->topLevelItem(row - 1)).center());
    }
    QList<int> highlighted() const {
        QList<int> rows;
        for (int row = 1; row <= list()->topLevelItemCount(); ++row) {
            if (list()->topLevelItem(row - 1)->isSelected()) {
                rows << row;
            }
        }
        return rows;
    }
};

}  // namespace

class TestRowEditing : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tql::test::installQuietHandler(); }

    void copyPasteAndMoveTheHighlightedRows() {
        Editor e;
        e.clickRow(2);
        e.shiftClickRow(3);
        e.trigger("複製");
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied->hasFormat("application/x-tql400-rows"));
        QCOMPARE(copied->text().count(u'\n'), 2);
        QVERIFY(copied->text().startsWith("POINT"));

        e.clickRow(1);
        e.trigger("貼上");  // before the highlighted row
        QCOMPARE(e.keywords(), (QStringList{"POINT", "WT", "VM", "POINT", "WT", "HOME"}));
        QCOMPARE(e.highlighted(), (QList<int>{1, 2}));  // what came, shown

        e.trigger("下移");
        QCOMPARE(e.keywords(), (QStringList{"VM", "POINT", "WT", "POINT", "WT", "HOME"}));
        QCOMPARE(e.highlighted(), (QList<int>{2, 3}));  // the rows follow their move

        e.trigger("剪下");
        QCOMPARE(e.keywords(), (QStringList{"VM", "POINT", "WT", "HOME"}));
        QVERIFY(e.highlighted().isEmpty());
        e.trigger("復原");
        QCOMPARE(e.program().RowCounter(), 6);

        // Text from anywhere else is rows only when every line is one.
        QGuiApplication::clipboard()->setText("HOME\nnot a row");
        e.trigger("貼上");
        QCOMPARE(e.messages().last(), QString("剪貼簿的內容不是程式列, 沒有貼上."));
        QCOMPARE(e.program().RowCounter(), 6);
        QGuiApplication::clipboard()->setText(
            "HOME        回原點        -           -           -");
        e.list()->clearSelection();
        e.trigger("貼上");  // nothing highlighted: at the end
        QCOMPARE(e.keywords().last(), QString("HOME"));
        QCOMPARE(e.program().RowCounter(), 7);
        QCOMPARE(e.highlighted(), QList<int>{7});
    }

    // The list's drag carries the rows as the clipboard does; rows dropped from elsewhere
    // come in where they are dropped (the upper half of a row is before it, the lower half
    // after it), what is no rows is refused; rows dragged within the list move there.
    void dragAndDrop() {
        Editor e;
        e.clickRow(3);
        e.shiftClickRow(4);
        // A drop comes after the drag entered and moved over the list.
        const auto drop = [&](int row, bool upper, const QMimeData& data) {
            const QRect rect = e.list()->visualItemRect(e.list()->topLevelItem(row - 1));
            const QPoint at(rect.center().x(), upper ? rect.top() + 2 : rect.bottom() - 2);
            const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
            QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(e.list()->viewport(), &enter);
            QDragMoveEvent move(at, actions, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(e.list()->viewport(), &move);
            QDropEvent event(at, actions, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(e.list()->viewport(), &event);
        };
        const std::unique_ptr<QMimeData> dragged(
            e.list()->model()->mimeData(e.list()->selectionModel()->selectedRows()));
        QVERIFY(dragged->hasFormat("application/x-tql400-rows"));
        QVERIFY(dragged->text().startsWith("WT"));
        drop(1, false, *dragged);
        QCOMPARE(e.keywords(), (QStringList{"VM", "WT", "HOME", "POINT", "WT", "HOME"}));
        QCOMPARE(e.highlighted(), (QList<int>{2, 3}));
        QMimeData text;
        text.setText("not a row");
        drop(1, true, text);
        QCOMPARE(e.messages().last(), QString("拖放的內容不是程式列, 沒有放入."));
        QCOMPARE(e.program().RowCounter(), 6);

        emit qobject_cast<ProgramListView*>(e.list())->rowsMovedTo(7);  // within the list
        QCOMPARE(e.keywords(), (QStringList{"VM", "POINT", "WT", "HOME", "WT", "HOME"}));
        QCOMPARE(e.highlighted(), (QList<int>{5, 6}));
    }

    // A loop end moved above its loop is said at once.
    void rowsMovedApartAreSaidAtOnce() {
        test::FormFixture e;
        e.load({{"LOOP", "2", "迴圈", "-", "-"}, kRows[0], {"LOOPEND", "迴圈結束", "-", "-", "-"}});
        const auto* findings = e.form->findChild<QListWidget*>("Findings");
        e.clickRow(3);
        e.trigger("上移");
        QVERIFY(findings->isHidden());  // still inside its loop
        e.trigger("上移");
        QVERIFY(!findings->isHidden());
        QCOMPARE(findings->item(0)->foreground().color(), kErrorColour);
    }

    // A row stored at the end of a long program shows, with no row chosen too.
    void theListFollowsAStoredRow() {
        Editor e;
        e.load(QList<Row>(60, kRows[2]));
        e.click("Command12");  // 編輯開始
        e.list()->clearSelection();
        e.list()->scrollToTop();
        e.click("Command4");  // 回原點, appended
        QCOMPARE(e.program().RowCounter(), 65);
        const QRect shown = e.list()->visualItemRect(e.list()->topLevelItem(64));
        QVERIFY(e.list()->viewport()->rect().contains(shown.center()));
    }

    void deleteTakesEveryHighlightedRow() {
        Editor e;
        e.click("Command12");  // 編輯開始
        e.clickRow(1);
        e.shiftClickRow(3);
        e.click("Command7");
        QCOMPARE(e.keywords(), QStringList{"HOME"});
        e.trigger("復原");  // one step
        QCOMPARE(e.program().RowCounter(), 4);
    }
};

QTEST_MAIN(TestRowEditing)
#include "tst_rowediting.moc"
