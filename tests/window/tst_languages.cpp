#include "program/rowkinds.h"
#include "session/language.h"
#include "support/formfixture.h"
#include "support/quietoffscreen.h"
#include "window/rowcaptions.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDirIterator>
#include <QGroupBox>
#include <QMainWindow>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QXmlStreamReader>

#include <set>

using namespace tql;

namespace {

const QRegularExpression kHan(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));

QStringList catalogueFiles() {
    return QDir(SOURCE_DIR "/translations").entryList({"tql400_*.ts"}, QDir::Files, QDir::Name);
}

std::set<QString> placeholders(const QString& text) {
    std::set<QString> found;
    static const QRegularExpression marker(QStringLiteral("%\\d"));
    for (const QRegularExpressionMatch& m : marker.globalMatch(text)) {
        found.insert(m.captured());
    }
    return found;
}

// What is wrong with one message of a catalogue: empty; not finished; its placeholders,
// its line breaks at either end or its accelerator not those of the source text.
QString messageFault(const QString& source, const QString& translation, const QString& type) {
    if (!type.isEmpty()) {
        return type;
    }
    if (translation.isEmpty()) {
        return QStringLiteral("empty");
    }
    if (placeholders(source) != placeholders(translation)) {
        return QStringLiteral("other placeholders");
    }
    if (source.startsWith('\n') != translation.startsWith('\n') ||
        source.endsWith('\n') != translation.endsWith('\n')) {
        return QStringLiteral("other line breaks");
    }
    if (source.contains('&') != (translation.count('&') == 1)) {
        return QStringLiteral("other accelerator");
    }
    return {};
}

QStringList catalogueFaults(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {"cannot read " + path};
    }
    QStringList faults;
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"source") {
            source = xml.readElementText();
        } else if (xml.name() == u"translation") {
            const QString type = xml.attributes().value("type").toString();
            if (const QString fault = messageFault(source, xml.readElementText(), type);
                !fault.isEmpty()) {
                faults << QStringLiteral("%1 \"%2\": %3").arg(context, source, fault);
            }
        }
    }
    if (xml.hasError()) {
        faults << xml.errorString();
    }
    return faults;
}

// The texts a control shows or says, where the operator or a screen reader meets them.
QStringList shownTexts(const QWidget& form) {
    QStringList texts = {form.windowTitle()};
    for (const QWidget* w : form.findChildren<QWidget*>()) {
        texts << w->windowTitle() << w->toolTip() << w->accessibleName();
        if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            texts << button->text();
        } else if (const auto* label = qobject_cast<const QLabel*>(w)) {
            texts << label->text();
        } else if (const auto* frame = qobject_cast<const QGroupBox*>(w)) {
            texts << frame->title();
        } else if (const auto* tabs = qobject_cast<const QTabWidget*>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                texts << tabs->tabText(i);
            }
        } else if (const auto* menu = qobject_cast<const QMenu*>(w)) {
            texts << menu->title();
        } else if (const auto* list = qobject_cast<const QTreeWidget*>(w)) {
            for (int c = 0; c < list->columnCount(); ++c) {
                texts << list->headerItem()->text(c);
            }
        }
    }
    for (const QAction* action : form.findChildren<QAction*>()) {
        texts << action->text() << action->toolTip();
    }
    return texts;
}

// The controls at fixed places: where no layout gives a text its room.
std::vector<const QWidget*> fixedControls(const QMainWindow& form) {
    std::vector<const QWidget*> controls;
    for (const QWidget* w : form.centralWidget()->findChildren<QWidget*>()) {
        const QWidget* parent = w->parentWidget();
        const bool showsText = qobject_cast<const QAbstractButton*>(w) ||
                               qobject_cast<const QLabel*>(w) || qobject_cast<const QLineEdit*>(w);
        if (showsText && w->isVisibleTo(&form) && parent->layout() == nullptr &&
            !qobject_cast<const QTabBar*>(parent)) {
            controls.push_back(w);
        }
    }
    return controls;
}

}  // namespace

class TestLanguages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void cataloguesAreComplete() {
        QVERIFY(!catalogueFiles().isEmpty());
        for (const QString& name : catalogueFiles()) {
            const QStringList faults = catalogueFaults(SOURCE_DIR "/translations/" + name);
            QVERIFY2(faults.isEmpty(), qPrintable(name + ":\n" + faults.join('\n')));
        }
    }

    // A text added or changed in the sources and not yet in a catalogue would show in
    // Chinese in that language: the catalogues hold exactly what the sources say.
    void cataloguesFollowTheSources() {
        QStringList sources;
        QDirIterator it(SOURCE_DIR "/src", {"*.cpp", "*.h"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            sources << it.next();
        }
        sources.sort();
        QTemporaryDir dir;
        for (const QString& name : catalogueFiles()) {
            const QString copy = dir.filePath(name);
            QVERIFY(QFile::copy(SOURCE_DIR "/translations/" + name, copy));
            QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
            QProcess lupdate;
            lupdate.start(LUPDATE_PATH, QStringList{"-silent", "-I", SOURCE_DIR "/src"} + sources +
                                            QString(LUPDATE_OPTIONS).split(' ') +
                                            QStringList{"-ts", copy});
            QVERIFY(lupdate.waitForFinished(60000));
            QCOMPARE(lupdate.exitCode(), 0);
            QFile before(SOURCE_DIR "/translations/" + name);
            QFile after(copy);
            QVERIFY(before.open(QIODevice::ReadOnly) && after.open(QIODevice::ReadOnly));
            QVERIFY2(before.readAll() == after.readAll(),
                     qPrintable(name + " is behind the sources: build update_translations"));
        }
    }

    void everyCatalogueIsBuiltIn() {
        QStringList languages;
        for (const QString& name : catalogueFiles()) {
            languages << name.mid(7, name.size() - 10);
        }
        QCOMPARE(catalogueLanguages(), languages);
    }

    void qtButtonsFollowTheLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("cancel");
        QTest::newRow("Chinese") << "zh_TW"
                                 << "取消";
        QTest::newRow("English") << "en"
                                 << "Cancel";
    }

    void qtButtonsFollowTheLanguage() {
        QFETCH(QString, language);
        QFETCH(QString, cancel);
        const LanguageTexts texts(language);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), cancel);
    }

    void englishWindowShowsNoChinese() {
        const LanguageTexts english("en");
        test::FormFixture w;
        QStringList texts = shownTexts(*w.form);
        // The row dialogs, each opened as the operator opens it.
        w.click("Command12");
        for (const char* button :
             {"Command19", "Command5", "Command10", "Command11", "Command15", "Command1"}) {
            w.click(button);
            texts << shownTexts(*w.form);
            for (QDialog* dialog : w.form->findChildren<QDialog*>()) {
                dialog->close();
            }
        }
        QStringList chinese;
        for (const QString& text : texts) {
            // Each language's name in itself, and the menu that chooses them.
            if (text.contains(kHan) && text != u"語言 / Language" && text != u"中文") {
                chinese << text;
            }
        }
        chinese.removeDuplicates();
        QVERIFY2(chinese.isEmpty(), qPrintable(chinese.join('\n')));
        QCOMPARE(w.panel(1), QString("Not connected"));
    }

    // The list shows a row of every kind in English, the file keeps its Chinese captions;
    // every caption the row kinds store is one the list translates.
    void englishListShowsTheRowsInEnglish() {
        for (const RowKind& kind : rowKinds()) {
            for (const char16_t* cell : kind.cells) {
                const QString caption = cell == nullptr ? QString() : QString::fromUtf16(cell);
                QVERIFY2(!caption.contains(kHan) || isRowCaption(caption), qPrintable(caption));
            }
        }
        const LanguageTexts english("en");
        test::FormFixture w;
        QList<Row> rows;
        for (const RowKind& kind : rowKinds()) {
            rows << makeRow(kind.id, {"1", "2"});
        }
        w.load(rows);
        QStringList chinese;
        for (int i = 0; i < w.list()->topLevelItemCount(); ++i) {
            for (int column = 1; column <= 4; ++column) {
                if (const QString text = w.list()->topLevelItem(i)->text(column);
                    text.contains(kHan)) {
                    chinese << text;
                }
            }
        }
        QVERIFY2(chinese.isEmpty(), qPrintable(chinese.join('\n')));
        const int speed = 1 + int(&rowKind(RowKindId::Speed) - rowKinds().data());
        QCOMPARE(w.program().row(speed)[2], QString("速度"));  // the file's text
        QCOMPARE(w.list()->topLevelItem(speed - 1)->text(2), QString("Speed"));
    }

    void everyTextHasItsRoom_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<double>("points");
        QTest::newRow("English") << "en" << 0.0;
        QTest::newRow("Chinese, 13 pt") << "zh_TW" << 13.0;
        QTest::newRow("English, 13 pt") << "en" << 13.0;
    }

    void everyTextHasItsRoom() {
        QFETCH(QString, language);
        QFETCH(double, points);
        const QFont standard = QApplication::font();
        if (points > 0) {
            QFont larger = standard;
            larger.setPointSizeF(points);
            QApplication::setFont(larger);
        }
        const LanguageTexts texts(language);
        {
            test::FormFixture w;
            const std::vector<const QWidget*> controls = fixedControls(*w.form);
            QVERIFY(controls.size() > 40);
            for (const QWidget* control : controls) {
                const QSize room = textRoom(*control);
                QVERIFY2(room.width() <= control->width() && room.height() <= control->height(),
                         qPrintable(control->objectName()));
            }
        }
        QApplication::setFont(standard);
    }

    void languageMenuRemembersTheChoice() {
        {
            test::FormFixture w;
            w.trigger("語言:en");
            QCOMPARE(chosenLanguage(), QString("en"));
            QCOMPARE(w.prompter.messages.size(), size_t(1));
        }
        test::FormFixture again;
        QVERIFY(again.form->findChild<QAction*>("語言:en")->isChecked());
        again.trigger("語言:系統");
        QCOMPARE(chosenLanguage(), QString());
    }
};

QTEST_MAIN(TestLanguages)
#include "tst_languages.moc"
