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
    "               of one run, the distance, the positions reached and the input waits\n"
    "  --csv OUT    with --dry-run: writes \"time,position\" every 10 ms to OUT\n"
    "  --help       shows this text\n"
    "  --version    shows the version\n"
    "\n"
    "Exit status 0 on success. A file that cannot be read or loaded, unpaired loops or a\n"
    "program over the controller's limits print the reason on standard error, exit with\n"
    "status 1 and write nothing. Wrong arguments exit with status 2.\n";

int fail(const QString& message, int status = 1) {
    std::fprintf(stderr, "tq4c: %s\n", message.toUtf8().constData());
    return status;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.contains(QStringLiteral("--version"))) {
        std::puts("tq4c " TQL400_VERSION);
        return 0;
    }
    const bool check = args.removeAll(QStringLiteral("--check")) > 0;
    const bool dryRun = args.removeAll(QStringLiteral("--dry-run")) > 0;
    QString csv;
    if (const qsizetype c = args.indexOf(QStringLiteral("--csv")); c >= 0) {
        if (c + 1 >= args.size() || !dryRun) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        csv = args.takeAt(c + 1);
        args.removeAt(c);
    }
    QString out;
    if (const qsizetype o = args.indexOf(QStringLiteral("-o")); o >= 0) {
        if (o + 1 >= args.size()) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        out = args.takeAt(o + 1);
        args.removeAt(o);
    }
    if (args.size() != 1 || args.first().startsWith(u'-') ||
        int(check) + int(dryRun) + int(!out.isEmpty()) > 1) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    const tql::LoadResult loaded = tql::loadProgramFile(args.first());
    if (!loaded.program) {
        return fail(loaded.error);
    }
    if (check) {
        bool errors = false;
        for (const tql::Finding& finding :
             tql::CheckProgram(loaded.program->table, loaded.program->RowCounter)) {
            std::puts(tql::formatFinding(finding).toUtf8().constData());
            errors = errors || finding.severity == tql::Severity::Error;
        }
        return errors ? 1 : 0;
    }
    if (dryRun) {
        const tql::DryRunResult result =
            tql::DryRun(loaded.program->table, loaded.program->RowCounter, {});
        if (result.end == tql::DryRunEnd::NotTranslated) {
            return fail(result.message);
        }
        for (const QString& line : tql::dryRunSummary(result)) {
            std::puts(line.toUtf8().constData());
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
        return 0;
    }
    const tql::Translation translation =
        tql::TranslateProgram(loaded.program->table, loaded.program->RowCounter);
    if (!translation.ok()) {
        return fail(translation.error);
    }
    if (!out.isEmpty()) {
        if (const auto failure = tql::writeTextLines(out, translation.ControllerText)) {
            return fail(*failure);
        }
        return 0;
    }
    for (const QString& line : translation.ControllerText) {
        std::fputs((line + u'\n').toUtf8().constData(), stdout);
    }
    return std::fflush(stdout) == 0 ? 0 : fail(QStringLiteral("standard output: write error"));
}
