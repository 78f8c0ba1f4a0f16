// tq4c: shows or keeps what a program file becomes on the controller, without the window.

#include "app/version.h"
#include "files/atomicfile.h"
#include "files/programfile.h"
#include "files/tracefile.h"
#include "translator/dryrun.h"
#include "translator/programchecks.h"
#include "translator/translator.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <filesystem>
#include <optional>

namespace {

constexpr const char* kUsage =
    "usage: tq4c [-o OUT] FILE.tq4\n"
    "       tq4c --check FILE.tq4\n"
    "       tq4c --dry-run [--csv OUT] FILE.tq4\n"
    "\n"
    "Loads FILE.tq4 as the tool's 開啟舊檔 does and translates it into controller text.\n"
    "  without -o   prints the controller text on standard output, one line each, UTF-8\n"
    "  -o OUT       writes OUT instead, as the upload's trace file: Big5, CR LF\n"
    "  --check      checks the program instead: one finding a line (\"第 N 列: 錯誤: ...\");\n"
    "               exit status 1 when there is an error, 0 with warnings only or none\n"
    "  --dry-run    runs the program on the controller model in simulated time (from 0,\n"
    "               inputs off; moves at VM with the acceleration VA) and prints the time\n"
    "               of one run, the distance, the positions reached and the input waits;\n"
    "               exit status 0 when the program ran to its end, 1 when it stopped with\n"
    "               an error at a row, 3 when it did not finish (600 s of simulated time,\n"
    "               a million lines, or a wait on an input nothing changes)\n"
    "  --csv OUT    with --dry-run: writes \"time,position\" every 10 ms to OUT\n"
    "  --help       shows this text\n"
    "  --version    shows the version\n"
    "\n"
    "Exit status 0 on success. A file that cannot be read or loaded, a row the translator\n"
    "refuses (\"第 N 列: ...\"), an output that is the input file or not a regular file,\n"
    "and a failed write of OUT or of standard output print the reason on standard error\n"
    "and exit with status 1. Wrong arguments exit with status 2.\n";

int fail(const QString& message, int status = 1) {
    std::fprintf(stderr, "tq4c: %s\n", message.toUtf8().constData());
    return status;
}

void print(const QString& line) {
    std::fputs((line + u'\n').toUtf8().constData(), stdout);
}

// What was printed must have reached standard output: a full disk or a closed pipe is an
// error, not a success.
int finish(int status) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        return fail(QStringLiteral("standard output: write error"));
    }
    return status;
}

// An output that is the program file itself would overwrite the program.
bool sameFile(const QString& a, const QString& b) {
    std::error_code error;
    return std::filesystem::equivalent(QFile::encodeName(a).toStdString(),
                                       QFile::encodeName(b).toStdString(), error);
}

struct Arguments {
    QString input;
    QString out;  // -o
    QString csv;  // --csv, with --dry-run
    bool check = false;
    bool dryRun = false;
};

// The value after option, taken out of args; nothing when there is none.
std::optional<QString> takeValue(QStringList& args, const QString& option, bool& wrong) {
    const qsizetype at = args.indexOf(option);
    if (at < 0) {
        return std::nullopt;
    }
    if (at + 1 >= args.size()) {
        wrong = true;
        return std::nullopt;
    }
    QString value = args.takeAt(at + 1);
    args.removeAt(at);
    return value;
}

// Exactly one program file and at most one of -o, --check and --dry-run.
std::optional<Arguments> parseArguments(QStringList args) {
    Arguments parsed;
    bool wrong = false;
    parsed.check = args.removeAll(QStringLiteral("--check")) > 0;
    parsed.dryRun = args.removeAll(QStringLiteral("--dry-run")) > 0;
    parsed.csv = takeValue(args, QStringLiteral("--csv"), wrong).value_or(QString());
    parsed.out = takeValue(args, QStringLiteral("-o"), wrong).value_or(QString());
    if (wrong || (!parsed.csv.isEmpty() && !parsed.dryRun) || args.size() != 1 ||
        args.first().startsWith(u'-') ||
        int(parsed.check) + int(parsed.dryRun) + int(!parsed.out.isEmpty()) > 1) {
        return std::nullopt;
    }
    parsed.input = args.first();
    return parsed;
}

int checkProgram(const tql::ProgramTable& table, int rows) {
    bool errors = false;
    for (const tql::Finding& finding : tql::CheckProgram(table, rows)) {
        print(tql::formatFinding(finding));
        errors = errors || finding.severity == tql::Severity::Error;
    }
    return finish(errors ? 1 : 0);
}

int dryRun(const tql::ProgramTable& table, int rows, const QString& csv) {
    const tql::DryRunResult result = tql::DryRun(table, rows, {});
    if (result.end == tql::DryRunEnd::NotTranslated) {
        return fail(result.message);
    }
    for (const QString& line : tql::dryRunSummary(result)) {
        print(line);
    }
    if (!csv.isEmpty()) {
        QByteArray samples = "time,position\n";
        for (const auto& [time, position] : result.samples) {
            samples += QByteArray::number(time, 'f', 3) + ',' +
                       QByteArray::number(position, 'f', 4) + '\n';
        }
        if (const auto failure = tql::writeFileAtomically(csv, samples)) {
            return fail(*failure);
        }
    }
    switch (result.end) {
        case tql::DryRunEnd::Finished:
            return finish(0);
        case tql::DryRunEnd::ProgramError:
        case tql::DryRunEnd::NotTranslated:
            return finish(1);
        case tql::DryRunEnd::TimeLimit:
        case tql::DryRunEnd::LineLimit:
        case tql::DryRunEnd::WaitsForever:
            break;
    }
    return finish(3);
}

int translate(const tql::ProgramTable& table, int rows, const QString& out) {
    const tql::Translation translation = tql::TranslateProgram(table, rows);
    if (!translation.ok()) {
        return fail(translation.namedError());
    }
    if (!out.isEmpty()) {
        if (const auto failure = tql::writeTextLines(out, translation.ControllerText)) {
            return fail(*failure);
        }
        return 0;
    }
    for (const QString& line : translation.ControllerText) {
        print(line);
    }
    return finish(0);
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.contains(QStringLiteral("--version"))) {
        std::puts("tq4c " TQL400_VERSION);
        return 0;
    }
    const std::optional<Arguments> parsed = parseArguments(args);
    if (!parsed) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    for (const QString& output : {parsed->out, parsed->csv}) {
        if (!output.isEmpty() && sameFile(parsed->input, output)) {
            return fail(QStringLiteral("%1 is the input file: not overwritten").arg(output));
        }
    }
    const tql::LoadResult loaded = tql::loadProgramFile(parsed->input);
    if (!loaded.program) {
        return fail(loaded.error);
    }
    const tql::ProgramTable& table = loaded.program->table;
    const int rows = loaded.program->RowCounter;
    if (parsed->check) {
        return checkProgram(table, rows);
    }
    if (parsed->dryRun) {
        return dryRun(table, rows, parsed->csv);
    }
    return translate(table, rows, parsed->out);
}
