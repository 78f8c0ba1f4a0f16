#include "app/version.h"
#include "link/qtserialline.h"
#include "window/form1.h"
#include "window/prompter.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage =
    "usage: tql400 [--help] [--version]\n"
    "\n"
    "Teaching and programming tool for the TQL400 single-axis motion controller on an\n"
    "RS-232 line: build a motion program as a list of rows, keep it in .tq4 files, upload\n"
    "it, and use the controller's console (position, inputs, outputs, immediate commands).\n"
    "\n"
    "The serial port is kept in DATA.TXT in the working directory (start the tool from the\n"
    "project folder), or in the user's configuration folder when the working directory\n"
    "cannot be written. Choose it in the window under 設定 > COM_PORT.\n"
    "\n"
    "  --help       shows this text\n"
    "  --version    shows the version\n";

}  // namespace

int main(int argc, char* argv[]) {
    // Answered before any window exists, so they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("tql400 " TQL400_VERSION);
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tql400-256.png")));
    // The user's folders: ~/.config/tql400 for DATA.TXT where the working directory cannot
    // be written, and the settings file of 立即指令's history.
    QApplication::setApplicationName(QStringLiteral("tql400"));

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
