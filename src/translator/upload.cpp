#include "translator/upload.h"

#include "files/big5.h"
#include "link/commands.h"
#include "link/console.h"

#include <chrono>
#include <vector>

#include <QCoreApplication>

namespace tql {

using namespace commands;

QString storeQuestion() {
    return QCoreApplication::translate("Upload", "是否儲存程式?");
}

QString runQuestion() {
    return QCoreApplication::translate("Upload", "現在執行程式?");
}

std::optional<int> rowBig5CannotHold(const Translation& translation) {
    for (qsizetype i = 0; i < translation.ControllerText.size(); ++i) {
        if (!sendable(translation.ControllerText[i])) {
            return translation.LineRows.at(size_t(i));
        }
    }
    return std::nullopt;
}

namespace {

// What the wire takes in about 100 ms at 9600 baud: the port is handed lines while no more
// than this waits in its queue, so the wire never idles between lines and a 取消 stops
// the download at a line's end soon after.
constexpr qint64 kLookaheadBytes = 96;
// How long the download waits for the wire before it looks at the queue again.
constexpr std::chrono::milliseconds kWireWait{2};

qint64 lineBytes(const QString& line) {
    return encodeBig5(line).value_or(QByteArray()).size() + 1;  // and its CR
}

// The program lines with the progress: each line is counted once it has left the port's
// queue, in order; told to stop, no further line is handed to the port, the lines already
// handed reach the controller and are counted, and the download ends there. false when the
// line was lost on the way.
bool sendPaced(Link& link, const QStringList& text,
               const std::function<bool(int sent, int total)>& progress, bool& cancelled) {
    const int total = int(text.size());
    std::vector<qint64> ends;  // where each handed line ends, in bytes written
    qint64 written = 0;
    int reported = 0;
    while (true) {
        const qint64 waiting = link.unsentBytes();
        while (reported < int(ends.size()) && ends[size_t(reported)] <= written - waiting) {
            ++reported;
            cancelled = (!progress(reported, total) && reported < total) || cancelled;
        }
        const int handed = int(ends.size());
        if (cancelled || handed == total) {
            if (reported == handed) {
                return true;
            }
        } else if (reported == handed || waiting + lineBytes(text[handed]) <= kLookaheadBytes) {
            link.writeLine(text[handed]);
            if (link.lostReason()) {
                return false;  // a line that never left is not counted
            }
            ends.push_back(written += lineBytes(text[handed]));
            continue;
        }
        link.sleep(kWireWait);
        if (link.lostReason()) {
            return false;
        }
    }
}

}  // namespace

Download downloadProgram(Link& link, const QStringList& ControllerText,
                         const std::function<bool(const QString& question)>& ask,
                         const std::function<bool(int sent, int total)>& progress) {
    if (!probeController(link)) {
        return {DownloadOutcome::NoAnswer};
    }
    const auto lost = [&link] { return link.lostReason().has_value(); };
    stopControllerProgram(link);
    link.writeLine(kDownload);
    bool cancelled = false;
    if (progress) {
        if (lost() || !sendPaced(link, ControllerText, progress, cancelled)) {
            return {DownloadOutcome::LineLost};
        }
    } else {
        for (const QString& line : ControllerText) {
            if (lost()) {
                return {DownloadOutcome::LineLost};
            }
            link.writeLine(line);
        }
    }
    link.writeCarriageReturn();
    if (lost()) {
        return {DownloadOutcome::LineLost};
    }
    if (cancelled) {
        return {DownloadOutcome::Cancelled};
    }
    const bool stored = ask(storeQuestion());
    if (stored) {
        link.writeLine(kSaveProgram);
    }
    if (lost()) {
        return {DownloadOutcome::LineLost, stored};
    }
    const bool run = ask(runQuestion());
    if (run) {
        startStoredProgram(link);
    }
    return {lost() ? DownloadOutcome::LineLost
            : run  ? DownloadOutcome::Started
                   : DownloadOutcome::Sent,
            stored};
}

}  // namespace tql
