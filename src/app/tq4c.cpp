// tq4c: shows or keeps what a program file becomes on the controller, without the window.

#include "app/commandline.h"
#include "app/tq4crun.h"
#include "files/atomicfile.h"
#include "files/programfile.h"
#include "files/tracefile.h"
#include "session/language.h"
#include "session/portrecords.h"
#include "session/usersettings.h"
#include "translator/dryrun.h"
#include "translator/programchecks.h"
#include "translator/translator.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <variant>
#include <vector>

namespace {

const char* const kDescription =
    "Loads FILE.tq4 as the tool's 開啟舊檔 does and translates it into controller text.\n"
    "Without an option it prints the controller text on standard output, one line each,\n"
    "UTF-8.\n"
    "\n"
    "Exit status 0 on success. A file that cannot be read or loaded, a row the translator\n"
    "refuses (\"第 N 列: ...\"), an output that is the input file or not a regular file,\n"
    "and a failed write of OUT or of standard output print the reason on standard error\n"
    "and exit with status 1. --check: 1 when there is an error. --dry-run: 0 when the\n"
    "program ran to its end, 1 when it stopped with an error at a row, 3 when it did not\n"
    "finish (600 s of simulated time, every line taking 1 ms, or a wait on an input\n"
    "nothing changes). --run: 0 when the run ended, 1 on a refused program or a link\n"
    "error, 3 when it did not end within --timeout. --watch: 0 when the run matched the\n"
    "program to its end, 4 when it differed (the row named), 1 on a link error or a run\n"
    "the model cannot follow, 3 when it did not end within --timeout. Wrong arguments exit\n"
    "with status 2.";

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
bool sameFile(const QByteArray& input, const QString& output) {
    std::error_code error;
    return std::filesystem::equivalent(input.toStdString(), QFile::encodeName(output).toStdString(),
                                       error);
}

struct Arguments {
    QString input;
    QString out;  // -o
    QString csv;  // --csv, with --dry-run
    bool check = false;
    bool dryRun = false;
    bool trace = false;                     // --trace, with --dry-run
    std::set<int> breakpoints;              // --break, with --dry-run
    std::vector<tql::InputChange> changes;  // --input, with --dry-run
    QString run;                            // --run: the port
    QString watch;                          // --watch: the port
    QString calibration;            // --calibration: the port whose calibration the model takes
    std::optional<double> timeout;  // --timeout, with --run or --watch
};

const QCommandLineOption kOut({QStringLiteral("o"), QStringLiteral("output")},
                              QStringLiteral("Writes OUT instead, as the upload's trace file: "
                                             "Big5, CR LF."),
                              QStringLiteral("OUT"));
const QCommandLineOption kCheck(QStringLiteral("check"),
                                QStringLiteral("Checks the program instead: one finding a line "
                                               "(\"第 N 列: 錯誤: ...\")."));
const QCommandLineOption kDryRun(
    QStringLiteral("dry-run"),
    QStringLiteral("Runs the program on the controller model in simulated time (from 0, "
                   "inputs off; moves at VM with the acceleration VA) and prints the time of "
                   "one run, the distance, the positions reached and the input waits."));
const QCommandLineOption kTrace(QStringLiteral("trace"),
                                QStringLiteral("With --dry-run: prints every executed row, one a "
                                               "line, when it is done: the simulated time, the "
                                               "row, its keyword and the position "
                                               "(\"1.667 第 4 列 MR 30.000\")."));
const QCommandLineOption kBreak(QStringLiteral("break"),
                                QStringLiteral("With --dry-run: each time row N is about to run, "
                                               "prints the machine as it stands (time, position, "
                                               "speed, inputs, outputs, loops, calls, waits); "
                                               "repeatable."),
                                QStringLiteral("N"));
const QCommandLineOption kInput(QStringLiteral("input"),
                                QStringLiteral("With --dry-run: an input change, \"輸入 3 在 2.0 "
                                               "秒時變 1\" or \"輸入 3 在等待 0.5 秒後變 1\" "
                                               "(each time the program waits for it); "
                                               "repeatable."),
                                QStringLiteral("CHANGE"));
const QCommandLineOption kRun(
    QStringLiteral("run"),
    QStringLiteral("Uploads the program to the controller on PORT as the tool's 上傳 does, "
                   "stores and starts it, measures its run (the position every 50 ms) against "
                   "the model's and prints the measured and estimated times and each move "
                   "row's difference; the run is kept in the run history."),
    QStringLiteral("PORT"));
const QCommandLineOption kWatch(
    QStringLiteral("watch"),
    QStringLiteral("Starts the program the controller on PORT stores (\"G\", after the stop "
                   "and greeting of connecting; nothing is uploaded) and follows its run with "
                   "the model of FILE: prints each row as the model runs it and, when the "
                   "polled position parts from the model's, where."),
    QStringLiteral("PORT"));
const QCommandLineOption kTimeout(QStringLiteral("timeout"),
                                  QStringLiteral("With --run or --watch: the longest the run is "
                                                 "followed, in seconds (by default 10 times "
                                                 "the estimate, 600 s for a program without "
                                                 "end); the program is then stopped."),
                                  QStringLiteral("SECONDS"));
const QCommandLineOption kCalibration(
    QStringLiteral("calibration"),
    QStringLiteral("With --dry-run, --run or --watch: the model moves as the calibration "
                   "the tool's "
                   "校正 kept for PORT says."),
    QStringLiteral("PORT"));
const QCommandLineOption kCsv(QStringLiteral("csv"),
                              QStringLiteral("With --dry-run: writes \"time,position\" every "
                                             "10 ms to OUT."),
                              QStringLiteral("OUT"));

// Exactly one program file and at most one of -o, --check and --dry-run; the exit status
// when the program ends here.
std::variant<Arguments, int> parseArguments(const QStringList& arguments) {
    tql::CommandLine line(QStringLiteral("tq4c"), QString::fromUtf8(kDescription));
    line.parser.addOptions({kOut, kCheck, kDryRun, kCsv, kTrace, kBreak, kInput, kRun, kWatch,
                            kTimeout, kCalibration});
    line.parser.addPositionalArgument(QStringLiteral("FILE.tq4"),
                                      QStringLiteral("The program file."));
    if (const std::optional<int> status = line.answer(arguments)) {
        return *status;
    }
    const QCommandLineParser& parser = line.parser;
    Arguments parsed{parser.positionalArguments().value(0),
                     parser.value(kOut),
                     parser.value(kCsv),
                     parser.isSet(kCheck),
                     parser.isSet(kDryRun),
                     parser.isSet(kTrace),
                     {},
                     {},
                     parser.value(kRun),
                     parser.value(kWatch),
                     parser.value(kCalibration),
                     {}};
    if (parser.positionalArguments().size() != 1) {
        return line.wrong(QStringLiteral("one program file is needed"));
    }
    if (parsed.input.isEmpty()) {
        return line.wrong(QStringLiteral("the program file's name is empty"));
    }
    for (const QCommandLineOption& option : {kOut, kCsv, kRun, kWatch, kTimeout, kCalibration}) {
        const QString name = option.names().constLast();
        if (parser.values(option).size() > 1) {
            return line.wrong(QStringLiteral("--%1 is given once").arg(name));
        }
        if (parser.isSet(option) && parser.value(option).isEmpty()) {
            const QString& value = option.valueName();
            return line.wrong(QStringLiteral("--%1 needs %2")
                                  .arg(name, value == QStringLiteral("OUT") ? "a file name"
                                             : value == QStringLiteral("SECONDS")
                                                 ? "a number of seconds"
                                                 : "a port"));
        }
    }
    if (int(parsed.check) + int(parsed.dryRun) + int(parser.isSet(kOut)) + int(parser.isSet(kRun)) +
            int(parser.isSet(kWatch)) >
        1) {
        return line.wrong(
            QStringLiteral("-o, --check, --dry-run, --run and --watch go one at a time"));
    }
    if (parser.isSet(kTimeout)) {
        bool number = false;
        const double seconds = parser.value(kTimeout).toDouble(&number);
        if (!number || !(seconds > 0) || seconds > 1e6) {
            return line.wrong(QStringLiteral("--timeout needs seconds, more than 0: %1")
                                  .arg(parser.value(kTimeout)));
        }
        parsed.timeout = seconds;
        if (parsed.run.isEmpty() && parsed.watch.isEmpty()) {
            return line.wrong(QStringLiteral("--timeout goes with --run or --watch"));
        }
    }
    if (parser.isSet(kCalibration) && !parsed.dryRun && parsed.run.isEmpty() &&
        parsed.watch.isEmpty()) {
        return line.wrong(QStringLiteral("--calibration goes with --dry-run, --run or --watch"));
    }
    for (const QCommandLineOption& option : {kCsv, kTrace, kBreak, kInput}) {
        if (parser.isSet(option) && !parsed.dryRun) {
            return line.wrong(QStringLiteral("--%1 goes with --dry-run").arg(option.names()[0]));
        }
    }
    for (const QString& row : parser.values(kBreak)) {
        bool number = false;
        const int n = row.toInt(&number);
        if (!number || n < 1 || n > tql::kMaxProgramRows) {
            return line.wrong(QStringLiteral("--break needs a row number, 1 to %1: %2")
                                  .arg(tql::kMaxProgramRows)
                                  .arg(row));
        }
        parsed.breakpoints.insert(n);
    }
    for (const QString& change : parser.values(kInput)) {
        const std::optional<tql::InputChange> read = tql::parseInputChange(change);
        if (!read) {
            return line.wrong(QStringLiteral("--input reads \"輸入 3 在 2.0 秒時變 1\" or "
                                             "\"輸入 3 在等待 0.5 秒後變 1\": %1")
                                  .arg(change));
        }
        parsed.changes.push_back(*read);
    }
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

// The run to its end; at each breakpoint the rows done so far and the machine as it
// stands, with --trace every row as it is done.
tql::DryRunResult runAndReport(const tql::ProgramTable& table, int rows, const Arguments& parsed,
                               const std::optional<tql::Calibration>& calibration) {
    tql::DryRunSetup setup;
    if (calibration) {
        setup.motion = calibration->motion;
    }
    setup.changes = parsed.changes;
    setup.trace = parsed.trace;
    tql::DryRunner runner(table, rows, setup);
    tql::RunLimits limits;
    limits.breakpoints = parsed.breakpoints;
    size_t traced = 0;
    const auto printTrace = [&] {
        for (; traced < runner.trace().size(); ++traced) {
            print(tql::traceLine(runner.trace()[traced]));
        }
    };
    // A breakpoint in a loop that runs for minutes comes round again and again: the first
    // blocks are told, the rest counted.
    constexpr long long kShownBreaks = 1000;
    long long breaks = 0;
    while (runner.run(limits) == tql::Pause::Breakpoint) {
        printTrace();
        if (++breaks > kShownBreaks) {
            continue;
        }
        print(QStringLiteral("--- 中斷點: 第 %1 列").arg(runner.watch().row));
        for (const QString& line : tql::watchText(runner.watch())) {
            print(line);
        }
    }
    printTrace();
    if (breaks > kShownBreaks) {
        print(QStringLiteral("--- 另有 %1 次中斷點未印出").arg(breaks - kShownBreaks));
    }
    return runner.result();
}

int dryRun(const tql::ProgramTable& table, int rows, const Arguments& parsed,
           const std::optional<tql::Calibration>& calibration) {
    const tql::DryRunResult result = runAndReport(table, rows, parsed, calibration);
    if (result.end == tql::DryRunEnd::NotTranslated) {
        return fail(result.message);
    }
    for (const QString& line : tql::dryRunSummary(result)) {
        print(line);
    }
    if (const QString& csv = parsed.csv; !csv.isEmpty()) {
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
    const std::variant<Arguments, int> read = parseArguments(QCoreApplication::arguments());
    if (const int* status = std::get_if<int>(&read)) {
        return *status;
    }
    const Arguments& parsed = std::get<Arguments>(read);
    // The messages in the language the tool's window shows (the help and the wrong
    // arguments stay English).
    const tql::LanguageTexts texts(tql::languageToShow(
        tql::chosenLanguage(), tql::systemLanguages(), tql::catalogueLanguages()));
    // The file opened by the bytes of its name as given.
    const tql::NativeName input{tql::argumentBytes(argc, argv, parsed.input)};
    for (const QString& output : {parsed.out, parsed.csv}) {
        if (!output.isEmpty() && sameFile(input.bytes, output)) {
            return fail(QStringLiteral("%1 is the input file: not overwritten").arg(output));
        }
    }
#ifdef Q_OS_UNIX
    const tql::LoadResult loaded = tql::loadProgramFile(input);
#else
    const tql::LoadResult loaded = tql::loadProgramFile(parsed.input);  // names are UTF-16
#endif
    if (!loaded.program) {
        return fail(loaded.error);
    }
    const tql::ProgramTable& table = loaded.program->table;
    const int rows = loaded.program->RowCounter;
    if (parsed.check) {
        return checkProgram(table, rows);
    }
    std::optional<tql::Calibration> calibration;
    if (!parsed.calibration.isEmpty()) {
        calibration = tql::storedCalibration(tql::userSettings(), parsed.calibration);
        if (!calibration) {
            return fail(QStringLiteral("no calibration is kept for %1").arg(parsed.calibration));
        }
        print(QStringLiteral("校正: ") + tql::calibrationText(*calibration));
    }
    if (parsed.dryRun) {
        return dryRun(table, rows, parsed, calibration);
    }
    if (!parsed.run.isEmpty()) {
        return finish(tql::measureRunOnController(
            table, rows, {parsed.run, parsed.input, parsed.timeout, calibration}));
    }
    if (!parsed.watch.isEmpty()) {
        return finish(tql::watchRunOnController(
            table, rows, {parsed.watch, parsed.input, parsed.timeout, calibration}));
    }
    return translate(table, rows, parsed.out);
}
