#include "session/language.h"

#include <QStandardPaths>
#include <QTest>

using namespace tql;

// Which language the tool shows, for the operator's choice and the system's UI languages
// as Qt reports them (LANG=C.UTF-8 gives "C"; LANGUAGE=fr:zh_TW gives fr first, zh-TW after).
class TestLanguage : public QObject {
    Q_OBJECT

private slots:
    void languageShown_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<QStringList>("catalogues");
        QTest::addColumn<QString>("shown");
        const QStringList english = {"en"};
        QTest::newRow("C locale") << "" << QStringList{"C"} << english << "zh_TW";
        QTest::newRow("POSIX") << "" << QStringList{"POSIX"} << english << "zh_TW";
        QTest::newRow("nothing said") << "" << QStringList{} << english << "zh_TW";
        QTest::newRow("British English")
            << "" << QStringList{"en-GB", "en-Latn-GB"} << english << "en";
        QTest::newRow("German: no catalogue, English")
            << "" << QStringList{"de", "de-Latn-DE", "de-DE"} << english << "en";
        QTest::newRow("French, then Chinese")
            << "" << QStringList{"fr", "fr-FR", "zh-TW", "zh-Hant-TW"} << english << "zh_TW";
        QTest::newRow("German, then English")
            << "" << QStringList{"de-DE", "en-US"} << english << "en";
        QTest::newRow("Taiwan") << "" << QStringList{"zh-Hant-TW", "zh-TW"} << english << "zh_TW";
        QTest::newRow("simplified Chinese") << "" << QStringList{"zh-CN"} << english << "zh_TW";
        QTest::newRow("a German catalogue added")
            << "" << QStringList{"de-DE", "en-US"} << QStringList{"de", "en"} << "de";
        QTest::newRow("chosen English") << "en" << QStringList{"zh-TW"} << english << "en";
        QTest::newRow("chosen Chinese") << "zh_TW" << QStringList{"en-US"} << english << "zh_TW";
        QTest::newRow("chosen without a catalogue: the system's")
            << "fr" << QStringList{"en-US"} << english << "en";
        QTest::newRow("no English built") << "" << QStringList{"de"} << QStringList{} << "zh_TW";
    }

    void languageShown() {
        QFETCH(QString, choice);
        QFETCH(QStringList, system);
        QFETCH(QStringList, catalogues);
        QFETCH(QString, shown);
        QCOMPARE(languageToShow(choice, system, catalogues), shown);
    }

    void choiceIsRemembered() {
        QStandardPaths::setTestModeEnabled(true);
        setChosenLanguage("en");
        QCOMPARE(chosenLanguage(), QString("en"));
        setChosenLanguage({});
        QCOMPARE(chosenLanguage(), QString());
    }

    void languagesNameThemselves() {
        QCOMPARE(languageName("zh_TW"), QString("中文"));
        QCOMPARE(languageName("en"), QString("English"));
        QCOMPARE(languageName("de"), QString("Deutsch"));
    }
};

QTEST_APPLESS_MAIN(TestLanguage)
#include "tst_language.moc"
