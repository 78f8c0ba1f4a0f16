#pragma once

#include "app/version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <cstdio>
#include <optional>

namespace tql {

// The programs' command lines, read with Qt's parser before any window exists, so --help,
// --version and a wrong option answer without a display. The parser is set up with its
// options and positional arguments; this adds -h/--help and -v/--version.
class CommandLine {
public:
    CommandLine(const QString& program, const QString& description) : m_program(program) {
        QCoreApplication::setApplicationName(program);
        QCoreApplication::setApplicationVersion(QStringLiteral(TQL400_VERSION));
        parser.setApplicationDescription(description);
        parser.addHelpOption();
        parser.addVersionOption();
    }

    QCommandLineParser parser;

    // The exit status when the program ends here: 0 after the help or the version, 2 for a
    // wrong option (said on standard error); nothing when it goes on.
    std::optional<int> answer(const QStringList& arguments) {
        if (!parser.parse(arguments)) {
            return wrong(parser.errorText());
        }
        if (parser.isSet(QStringLiteral("help"))) {
            // "Usage: tq4c ...", whatever path started it: the manual page's synopsis.
            QString help = parser.helpText();
            help.replace(QRegularExpression(QStringLiteral("^Usage: \\S+")),
                         QStringLiteral("Usage: ") + m_program);
            std::fputs(help.toUtf8().constData(), stdout);
            return 0;
        }
        if (parser.isSet(QStringLiteral("version"))) {
            std::printf("%s %s\n", m_program.toUtf8().constData(), TQL400_VERSION);
            return 0;
        }
        return std::nullopt;
    }

    // Arguments the parser took but the program cannot use together.
    int wrong(const QString& why) const {
        std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", m_program.toUtf8().constData(),
                     why.toUtf8().constData(), m_program.toUtf8().constData());
        return 2;
    }

private:
    QString m_program;
};

}  // namespace tql
