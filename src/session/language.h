#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

// The language of the operator's texts. The sources hold them in Traditional Chinese;
// every other language is a catalogue tql400_<language>.qm among the resources (:/i18n).
namespace tql {

// The language of the source texts, as the settings and the menu name it.
inline const QString kSourceLanguage = QStringLiteral("zh_TW");

// The languages of the catalogues built in ("en"), in the order of their codes.
QStringList catalogueLanguages();

// A language as it names itself: "中文", "English", "Deutsch".
QString languageName(const QString& language);

// The operator's choice under 設定 > 語言 / Language, kept as "ui/language" in the user's
// settings: a language code, or empty for the system's.
QString chosenLanguage();
// false when it could not be stored (a settings file refused, a full disk).
bool setChosenLanguage(const QString& language);

// The system's UI languages as Qt reads them (LANGUAGE, LC_ALL, LC_MESSAGES, LANG on Unix),
// the preferred first; "C" for the C or POSIX locale, which names no language.
QStringList systemLanguages();

// What the tool shows: a chosen language that is Chinese or has a catalogue; for the
// system's choice, the first system language that is either; English when the system
// names only languages the tool lacks; Chinese when it names none.
QString languageToShow(const QString& choice, const QStringList& system,
                       const QStringList& catalogues);

// The catalogues of a language, installed into the application while this lives: the
// tool's own and Qt's (the standard buttons' 是, 否, 確定, 取消 and their translations).
class LanguageTexts {
public:
    explicit LanguageTexts(const QString& language);
    ~LanguageTexts();
    LanguageTexts(const LanguageTexts&) = delete;
    LanguageTexts& operator=(const LanguageTexts&) = delete;

private:
    QTranslator m_tool;
    QTranslator m_qt;
};

}  // namespace tql
