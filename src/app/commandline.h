#pragma once

#include "app/version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>

#include <cstdio>
#include <optional>

namespace tql {

// The bytes of the command-line argument Qt read as `parsed`: a file name need not be valid
// in the system's encoding (Big5 on a UTF-8 system), and then Qt's text of it names no file.
inline QByteArray argumentBytes(int argc, char* argv[], const QString& parsed) {
    for (int i = argc - 1; i > 0; --i) {
        if (QFile::decodeName(argv[i]) == parsed) {
            return argv[i];
        }
    }
    return QFile::encodeName(parsed);
}

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
        // --help-all, which the help lists, is the whole help too.
        if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
            // "Usage: tq4c ...", whatever path started it: the manual page's synopsis.
            QString help = parser.helpText();
            help.replace(QRegularExpression(QStringLiteral("^Usage: \\S+")),
                         QStringLiteral("Usage: ") + m_program);
            std::fputs(help.toUtf8().constData(), stdout);
            return printed();
        }
        if (parser.isSet(QStringLiteral("version"))) {
            std::printf("%s %s\n", m_program.toUtf8().constData(), TQL400_VERSION);
            return printed();
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
    // 0 when the text reached standard output; 1 when it could not (a full disk).
    int printed() const {
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            std::fprintf(stderr, "%s: standard output: write error\n",
                         m_program.toUtf8().constData());
            return 1;
        }
        return 0;
    }

    QString m_program;
};

}  // namespace tql
