#include "session/language.h"
#include "session/usersettings.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include <sys/stat.h>

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

    // A settings file that is no regular file is never opened (a FIFO would hold the start
    // for ever): the defaults hold, and a choice that cannot be stored says so.
    void settingsFileThatIsNoFile() {
        QStandardPaths::setTestModeEnabled(true);
        const QString path =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            "/tql400/tql400.conf";
        QFile::remove(path);
        QVERIFY(QDir().mkpath(path));  // a folder where the file belongs
        QVERIFY(userSettingsRefusal());
        QVERIFY(!setChosenLanguage("en"));
        QCOMPARE(chosenLanguage(), QString());
        QVERIFY(QDir().rmdir(path));
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        QVERIFY(userSettingsRefusal()->contains("不是一般檔案"));
        QCOMPARE(chosenLanguage(), QString());
        QVERIFY(QFile::remove(path));
        QVERIFY(!userSettingsRefusal());
        QVERIFY(setChosenLanguage("en"));
        QVERIFY(setChosenLanguage({}));
    }

    void languagesNameThemselves() {
        QCOMPARE(languageName("zh_TW"), QString("中文"));
        QCOMPARE(languageName("en"), QString("English"));
        QCOMPARE(languageName("de"), QString("Deutsch"));
    }
};

QTEST_APPLESS_MAIN(TestLanguage)
#include "tst_language.moc"
