#include "session/language.h"

#include "session/usersettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QRegularExpression>

#include <algorithm>

namespace tql {
namespace {

const QString kSettingKey = QStringLiteral("ui/language");
const QString kEnglish = QStringLiteral("en");

// "en-GB" → "en"; a catalogue of the language serves every country's variant.
QString languageOf(const QString& name) {
    return name.section(QRegularExpression(QStringLiteral("[-_.@]")), 0, 0).toLower();
}

}  // namespace

QStringList catalogueLanguages() {
    QStringList languages;
    for (const QString& file :
         QDir(QStringLiteral(":/i18n"))
             .entryList({QStringLiteral("tql400_*.qm")}, QDir::Files, QDir::Name)) {
        languages << file.section(u'_', 1).chopped(3);  // "tql400_en.qm" → "en"
    }
    return languages;
}

QString chosenLanguage() {
    return userSettings().value(kSettingKey).toString();
}

bool setChosenLanguage(const QString& language) {
    if (userSettingsRefusal()) {
        return false;  // kept only until the tool exits: not for the next start
    }
    QSettings settings = userSettings();
    if (language.isEmpty()) {
        settings.remove(kSettingKey);
    } else {
        settings.setValue(kSettingKey, language);
    }
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QStringList systemLanguages() {
    return QLocale::system().uiLanguages();
}

QString languageName(const QString& language) {
    if (language == kSourceLanguage) {
        return QStringLiteral("中文");
    }
    // Qt names English after its default territory ("American English").
    return language == kEnglish ? QStringLiteral("English")
                                : QLocale(language).nativeLanguageName();
}

QString languageToShow(const QString& choice, const QStringList& system,
                       const QStringList& catalogues) {
    const auto namesLanguage = [](const QString& name) {
        const QString language = languageOf(name);
        return !language.isEmpty() && language != u"c" && language != u"posix";
    };
    // The language the tool can show for a name; empty where it has none.
    const auto shown = [&](const QString& name) {
        if (!namesLanguage(name)) {
            return QString();
        }
        if (QLocale(name).language() == QLocale::Chinese) {
            return kSourceLanguage;
        }
        return catalogues.contains(languageOf(name)) ? languageOf(name) : QString();
    };
    if (const QString chosen = shown(choice); !chosen.isEmpty()) {
        return chosen;
    }
    for (const QString& name : system) {
        if (const QString language = shown(name); !language.isEmpty()) {
            return language;
        }
    }
    const bool named = std::any_of(system.begin(), system.end(), namesLanguage);
    return named && catalogues.contains(kEnglish) ? kEnglish : kSourceLanguage;
}

LanguageTexts::LanguageTexts(const QString& language) {
    if (language != kSourceLanguage &&
        m_tool.load(QStringLiteral(":/i18n/tql400_%1.qm").arg(language))) {
        QCoreApplication::installTranslator(&m_tool);
    }
    if (m_qt.load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&m_qt);
    }
}

LanguageTexts::~LanguageTexts() {
    QCoreApplication::removeTranslator(&m_tool);
    QCoreApplication::removeTranslator(&m_qt);
}

}  // namespace tql
