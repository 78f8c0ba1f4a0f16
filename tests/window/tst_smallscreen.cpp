// On a 1366×768 laptop screen at 150 % the main window in English, its texts the longest,
// still fits the screen: the client area scrolls, every panel in its place.
#include "session/language.h"
#include "support/formfixture.h"
#include "support/quietoffscreen.h"

#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

using namespace tql;

class TestSmallScreen : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tql::test::installQuietHandler(); }

    void theWindowFitsTheScreen() {
        const LanguageTexts english(QStringLiteral("en"));
        test::FormFixture w;
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        QCOMPARE(screen, QSize(911, 512));
        QVERIFY2(
            w.form->minimumSize().width() <= screen.width() &&
                w.form->minimumSize().height() <= screen.height(),
            qPrintable(QString("%1×%2").arg(w.form->minimumWidth()).arg(w.form->minimumHeight())));
        // The panels keep the room they need: the client area scrolls to them.
        const auto* area = w.form->findChild<QScrollArea*>("ClientArea");
        QVERIFY(area->widget()->width() > area->viewport()->width());
        QVERIFY(area->horizontalScrollBar()->maximum() > 0);
    }
};

int main(int argc, char** argv) {
    // A 1366×768 screen, scaled as the desktop's 150 % scales it.
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TQL_SCREEN_CONFIG);
    qputenv("QT_SCALE_FACTOR", "1.5");
    QApplication app(argc, argv);
    TestSmallScreen test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_smallscreen.moc"
