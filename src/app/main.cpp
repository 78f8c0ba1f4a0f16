#include "link/qtserialline.h"
#include "window/form1.h"
#include "window/prompter.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(tql::applicationTitle());

    // Qt's own Traditional-Chinese texts for the standard buttons (是, 否, 確定, 取消).
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::Taiwan), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    tql::WidgetPrompter prompter;
    tql::QtSerialLine line;
    tql::ThreadSleeper sleeper;
    tql::FORM1 window(prompter, line, sleeper, QDir::current());
    window.show();
    return QApplication::exec();
}
