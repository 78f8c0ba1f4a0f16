#include "app/commandline.h"
#include "session/cell.h"
#include "session/language.h"
#include "window/form1.h"
#include "window/prompter.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QProcess>

#include <optional>
#include <variant>

namespace {

const char* const kDescription =
    "Teaching and programming tool for the TQL400 single-axis motion controller on an\n"
    "RS-232 line: build a motion program as a list of rows, keep it in .tq4 files, upload\n"
    "it, and use the controller's console (position, inputs, outputs, immediate commands).\n"
    "Given a program file, the tool opens it as 開啟舊檔 does.\n"
    "\n"
    "The serial port is kept in DATA.TXT in the working directory (start the tool from the\n"
    "project folder), or in the user's configuration folder when the working directory\n"
    "cannot be written. Choose it in the window under 設定 > COM_PORT.\n"
    "\n"
    "--simulator starts the controller simulator installed beside the tool (tql400-sim\n"
    "--loopback) and uses its port for this run only: DATA.TXT is left as it is, and the\n"
    "simulator ends with the tool.\n"
    "\n"
    "--port NAME=PORT, given once or more, opens a cell of controllers for this run: the\n"
    "first in the place of DATA.TXT's port, each further one with a console of its own. The\n"
    "cell kept under 設定 > 控制器 is left as it is.";

const QCommandLineOption kSimulator(QStringLiteral("simulator"),
                                    QStringLiteral("Use the controller simulator instead of a "
                                                   "machine, for this run only."));

// Qt's own options for a window program (-platform, -style, ...): taken here too, so that
// reading the command line before the window exists does not refuse them.
void allowQtOptions(QCommandLineParser& parser) {
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "display",
                             "style", "stylesheet", "geometry", "qwindowgeometry", "qwindowtitle",
                             "qwindowicon", "session", "name", "title"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

const QCommandLineOption kPort(
    QStringLiteral("port"),
    QStringLiteral("A controller of the cell for this run, by name and "
                   "port (repeatable; the first stands for DATA.TXT's)."),
    QStringLiteral("NAME=PORT"));

struct Start {
    QString file;  // the program file to open; empty for none
    bool simulator = false;
    std::optional<tql::Cell> cell;  // --port, in the order given
};

// How to start, or the exit status when the tool ends before any window.
std::variant<Start, int> readCommandLine(int argc, char* argv[]) {
    const QCoreApplication reading(argc, argv);
    tql::CommandLine line(QStringLiteral("tql400"), QString::fromUtf8(kDescription));
    line.parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    allowQtOptions(line.parser);
    line.parser.addOption(kSimulator);
    line.parser.addOption(kPort);
    line.parser.addPositionalArgument(QStringLiteral("FILE.tq4"),
                                      QStringLiteral("A program file to open."),
                                      QStringLiteral("[FILE.tq4]"));
    if (const std::optional<int> status = line.answer(QCoreApplication::arguments())) {
        return *status;
    }
    const QStringList files = line.parser.positionalArguments();
    if (files.size() > 1) {
        return line.wrong(QStringLiteral("one program file at most"));
    }
    Start start{files.value(0), line.parser.isSet(kSimulator), {}};
    for (const QString& given : line.parser.values(kPort)) {
        const std::optional<tql::CellController> controller = tql::parseCellController(given);
        if (!controller) {
            return line.wrong(QStringLiteral("--port needs NAME=PORT: %1").arg(given));
        }
        if (!start.cell) {
            start.cell.emplace(controller->port, controller->name);
        } else if (const std::optional<QString> refusal = start.cell->add(*controller)) {
            return line.wrong(QStringLiteral("--port %1: %2").arg(given, *refusal));
        }
    }
    if (start.simulator && start.cell) {
        return line.wrong(QStringLiteral("--simulator and --port both name the port"));
    }
    return start;
}

// The simulator beside the tool, serving a pseudo-terminal while this lives: the end of
// its standard input ends it.
class Simulator {
public:
    Simulator() {
        m_process.start(
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tql400-sim")),
            {QStringLiteral("--loopback")});
        if (m_process.waitForReadyRead(5000)) {
            m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        }
    }
    ~Simulator() {
        m_process.closeWriteChannel();
        m_process.waitForFinished(2000);
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;
    // Its device; empty when it did not start, with why.
    const QString& device() const { return m_device; }
    QString failure() const { return m_process.errorString(); }

private:
    QProcess m_process;
    QString m_device;
};

}  // namespace

int main(int argc, char* argv[]) {
    // Read before any window exists, so --help, --version and a wrong option answer
    // without a display.
    const std::variant<Start, int> read = readCommandLine(argc, argv);
    if (const int* status = std::get_if<int>(&read)) {
        return *status;
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tql400-256.png")));
    // The user's folders: ~/.config/tql400 for DATA.TXT where the working directory cannot
    // be written, and the settings file of 立即指令's history.
    QApplication::setApplicationName(QStringLiteral("tql400"));
    QApplication::setApplicationVersion(QStringLiteral(TQL400_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("tql400"));

    // Traditional Chinese unless the operator chose otherwise or the system names another
    // language; the choice under 設定 > 語言 / Language takes effect here, at the next start.
    const tql::LanguageTexts texts(tql::languageToShow(
        tql::chosenLanguage(), tql::systemLanguages(), tql::catalogueLanguages()));

    const Start& start = std::get<Start>(read);
    // Ends after the window and its session thread: the port goes before the simulator.
    std::optional<Simulator> simulator;
    if (start.simulator) {
        simulator.emplace();
    }
    tql::WidgetPrompter prompter;
    // The first controller's port and session thread; each further one of a cell has its
    // own the same way.
    const std::unique_ptr<tql::ControllerMeans> first = tql::threadedMeans();
    tql::FORM1 window(prompter, first->line(), first->sleeper(), QDir::current(), first->thread(),
                      tql::threadedMeans);
    window.show();
    if (start.cell) {
        window.useCellForThisRun(*start.cell);
    }
    if (simulator) {
        if (simulator->device().isEmpty()) {
            prompter.message(&window,
                             QCoreApplication::translate("FORM1", "無法啟動模擬器: %1")
                                 .arg(simulator->failure()),
                             tql::applicationTitle(), tql::Prompter::Buttons::Ok,
                             tql::Prompter::Icon::Warning);
        } else {
            window.usePortForThisRun(simulator->device());
        }
    }
    if (const QString& file = start.file; !file.isEmpty()) {
#ifdef Q_OS_UNIX
        window.openFile(tql::NativeName{tql::argumentBytes(argc, argv, file)});
#else
        window.openFile(tql::NativeName{QFile::encodeName(file)});
#endif
    }
    return QApplication::exec();
}
