// tql400-sim: plays a TQL400 controller on a pseudo-terminal (its --help says how).

#include "app/commandline.h"
#include "controller/controller.h"
#include "pseudoterminal.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int) {
    g_stop = 1;
}

const char* const kDescription =
    "Plays a TQL400 controller on a pseudo-terminal, for the tests and for running the tool\n"
    "without a machine. Prints the device path on the first line of its output and serves\n"
    "until SIGTERM, SIGINT or the end of its standard input. The slide moves as the tool's\n"
    "dry run estimates it: speeding up and slowing down at the VA acceleration.\n"
    "\n"
    "Standard input takes commands while it runs:\n"
    "  in K 0|1     input K (1..8) off or on\n"
    "  pos X        the slide moved by hand to X\n"
    "  state        prints \"position=X outputs=N inputs=N running=0|1 saved=0|1 lines=N\n"
    "               error=E\": lines is how many program lines the controller holds\n"
    "               (E: the last error, such as \"line 4: OUTP 1e99: not a number in\n"
    "               range\", or \"-\")";

double seconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// The master side does not block: a client that sends and never reads fills the
// pseudo-terminal, and what does not fit is dropped rather than waited for, so standard
// input and SIGTERM are still served.
void writeOrDrop(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            return;
        }
        done += size_t(n);
    }
}

// Standard input in lines no longer than the serial line's: a longer one is dropped up to
// its newline, in bounded memory.
class StdinLines {
public:
    template <typename Handle>
    void take(std::string_view bytes, Handle handle) {
        for (const char c : bytes) {
            if (c == '\n') {
                if (!m_overlong) {
                    handle(m_line);
                }
                m_line.clear();
                m_overlong = false;
            } else if (m_line.size() < controller::kMaxLineLength) {
                m_line += c;
            } else {
                m_overlong = true;
            }
        }
    }

private:
    std::string m_line;
    bool m_overlong = false;
};

void stdinCommand(const std::string& line, controller::Machine& machine) {
    std::istringstream in(line);
    std::string word;
    in >> word;
    std::string rest;
    std::getline(in, rest);
    if (word == "in") {
        std::istringstream values(rest);
        std::string k;
        std::string on;
        std::string more;
        values >> k >> on >> more;
        const std::optional<double> input = controller::readNumber(k);
        if (!input ||
            controller::judge(k, controller::kInputLimit) != controller::Verdict::Accepted ||
            (on != "0" && on != "1") || !more.empty()) {
            std::fprintf(stderr, "tql400-sim: \"in K 0|1\" needs an input 1..8 and 0 or 1: %s\n",
                         line.c_str());
            return;
        }
        machine.setInput(int(*input), on == "1");
    } else if (word == "pos") {
        // A plain decimal within the axis, as the controller takes a position: no "nan", no
        // "abc" taken as 0, no 1e400.
        if (controller::judge(rest, controller::kSafePositionLimit) !=
            controller::Verdict::Accepted) {
            std::fprintf(stderr,
                         "tql400-sim: \"pos X\" needs a position, -1000000000 .. "
                         "1000000000: %s\n",
                         line.c_str());
            return;
        }
        machine.setPosition(*controller::readNumber(rest));
    } else if (word == "state") {
        const std::string& error = machine.error();
        std::printf("position=%g outputs=%d inputs=%d running=%d saved=%d lines=%zu error=%s\n",
                    machine.position(), machine.outputs(), machine.inputWord(),
                    int(machine.running()), int(machine.programSaved()),
                    machine.storedProgram().size(), error.empty() ? "-" : error.c_str());
        std::fflush(stdout);
    }
}

struct Settings {
    controller::Options options;
    std::FILE* log = nullptr;
    double baud = 0;  // 0: as fast as the bytes come
};

// The settings from the arguments, or the exit status when the program is to end at once.
std::variant<Settings, int> parseArguments(int argc, char* argv[]) {
    const QCoreApplication reading(argc, argv);
    tql::CommandLine line(QStringLiteral("tql400-sim"), QString::fromUtf8(kDescription));
    const QCommandLineOption fixedReply(
        QStringLiteral("fixed-reply"),
        QStringLiteral("Answers every \"?\" query with TEXT and nothing else."),
        QStringLiteral("TEXT"));
    const QCommandLineOption silent(QStringLiteral("silent"),
                                    QStringLiteral("Answers nothing (a controller that is off)."));
    const QCommandLineOption loopback(QStringLiteral("loopback"),
                                      QStringLiteral("Outputs 1..4 show on inputs 5..8."));
    const QCommandLineOption constantSpeed(
        QStringLiteral("constant-speed"),
        QStringLiteral("Moves at the VM speed from the start to the stop. Without it the slide "
                       "speeds up and slows down at the VA acceleration, as the dry run "
                       "estimates it."));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("Appends every byte received to FILE."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption baud(
        QStringLiteral("baud"),
        QStringLiteral("Takes bytes as a line of N baud does (N/10 a second), so the sender "
                       "waits for the wire as it would on a real line."),
        QStringLiteral("N"));
    line.parser.addOptions({fixedReply, silent, loopback, constantSpeed, log, baud});
    if (const std::optional<int> status = line.answer(QCoreApplication::arguments())) {
        return *status;
    }
    const QCommandLineParser& parser = line.parser;
    if (!parser.positionalArguments().isEmpty()) {
        return line.wrong(QStringLiteral("no arguments beside the options"));
    }
    Settings settings;
    if (parser.isSet(fixedReply)) {
        settings.options.fixedReply = parser.value(fixedReply).toStdString();
    }
    settings.options.silent = parser.isSet(silent);
    settings.options.loopback = parser.isSet(loopback);
    settings.options.accelerate = !parser.isSet(constantSpeed);
    if (parser.isSet(baud)) {
        settings.baud = parser.value(baud).toDouble();
        if (!std::isfinite(settings.baud) || settings.baud <= 0) {
            return line.wrong(
                QStringLiteral("--baud needs a number above 0: %1").arg(parser.value(baud)));
        }
    }
    if (parser.isSet(log)) {
        const QByteArray path = QFile::encodeName(parser.value(log));
        // Opening a FIFO would wait for a reader before the device is printed; a device
        // such as /dev/full would swallow the log.
        if (const QFileInfo target(parser.value(log)); target.exists() && !target.isFile()) {
            return line.wrong(
                QStringLiteral("--log needs a regular file: %1").arg(parser.value(log)));
        }
        settings.log = std::fopen(path.constData(), "ab");
        if (settings.log == nullptr) {
            std::perror(path.constData());
            return 1;
        }
    }
    return settings;
}

// A paced line: bytes are taken only as fast as the wire carries them, with the few bytes
// of a UART's buffer of credit; the rest waits in the pseudo-terminal, so the sender's
// writes wait as they would on a real line.
class PacedLine {
public:
    explicit PacedLine(double baud) : m_baud(baud), m_last(seconds()) {}

    // How many bytes may be read now.
    size_t allowed() {
        if (m_baud <= 0) {
            return 4096;
        }
        const double now = seconds();
        m_credit = std::min(kLineCredit, m_credit + (now - m_last) * m_baud / 10);
        m_last = now;
        return size_t(m_credit);
    }
    void took(ssize_t bytes) { m_credit -= double(std::max<ssize_t>(bytes, 0)); }

private:
    static constexpr double kLineCredit = 16;
    double m_baud;
    double m_credit = kLineCredit;
    double m_last;
};

// Serves the line and standard input until a signal or the end of standard input; false
// when the log failed.
bool serve(int master, controller::Controller& tql400, const Settings& settings) {
    StdinLines stdinLines;
    bool stdinOpen = true;
    PacedLine paced(settings.baud);
    while (!g_stop) {
        const size_t allowed = paced.allowed();
        pollfd fds[2] = {{master, short(allowed > 0 ? POLLIN : 0), 0},
                         {STDIN_FILENO, short(stdinOpen ? POLLIN : 0), 0}};
        const int ready = ::poll(fds, 2, allowed > 0 ? 5 : 1);
        const double now = seconds();
        if (ready > 0 && (fds[0].revents & POLLIN)) {
            char buffer[4096];
            const ssize_t n = ::read(master, buffer, std::min(sizeof buffer, allowed));
            paced.took(n);
            if (n > 0) {
                // A log that cannot be written (a full disk) is no log: said, and the
                // simulator stops rather than serve on with a log that lies.
                if (settings.log != nullptr &&
                    (std::fwrite(buffer, 1, size_t(n), settings.log) != size_t(n) ||
                     std::fflush(settings.log) != 0)) {
                    std::fprintf(stderr, "tql400-sim: the log cannot be written: %s\n",
                                 std::strerror(errno));
                    return false;
                }
                writeOrDrop(master, tql400.receive(std::string_view(buffer, size_t(n)), now));
            }
        }
        if (ready > 0 && (fds[1].revents & (POLLIN | POLLHUP))) {
            char buffer[256];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n <= 0) {
                return true;  // standard input closed: stop serving
            }
            stdinLines.take(std::string_view(buffer, size_t(n)),
                            [&](const std::string& line) { stdinCommand(line, tql400.machine()); });
        }
        tql400.machine().advance(now);
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::variant<Settings, int> parsed = parseArguments(argc, argv);
    if (const int* status = std::get_if<int>(&parsed)) {
        return *status;
    }
    const Settings& settings = std::get<Settings>(parsed);
    const std::optional<sim::Pty> pty = sim::Pty::open();
    if (!pty) {
        std::perror("openpty");
        return 1;
    }
    const int master = pty->master();
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
    std::signal(SIGPIPE, SIG_IGN);
    std::printf("%s\n", pty->device().c_str());
    std::fflush(stdout);

    controller::Controller tql400(settings.options);
    const bool served = serve(master, tql400, settings);
    if (settings.log != nullptr) {
        std::fclose(settings.log);
    }
    return served ? 0 : 1;
}
