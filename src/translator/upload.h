#pragma once

#include "link/link.h"
#include "translator/translator.h"

#include <QString>

#include <functional>
#include <optional>

// The upload once the program is translated and the trace file written: the controller is
// probed, the program downloaded, and on the operator's word stored and started.
namespace tql {

// The two questions after a whole download: store the program ("SAVE P"), start it.
QString storeQuestion();
QString runQuestion();

// The first program row whose text Big5 cannot hold, so nothing is sent of a program that
// could not arrive whole.
std::optional<int> rowBig5CannotHold(const Translation& translation);

enum class DownloadOutcome {
    Sent,     // the program whole, not started
    Started,  // the program whole, and started with "G" at the end of the exchange
    NoAnswer,
    LineLost,
    Cancelled,
};
struct Download {
    DownloadOutcome outcome = DownloadOutcome::NoAnswer;
    bool stored = false;  // "SAVE P" went out
};

// Probe ("?VM", 200 ms), ESC ESC, "DL", every line, a lone CR; then ask (Yes = true) the
// store question ("SAVE P") and the run question ("HON", 100 ms, "G"). A silent probe
// sends nothing more; a line lost on the way stops the upload there, asking nothing.
// progress hears (lines sent, lines in all) as each program line leaves the port's queue,
// and answers whether to go on; with progress the port is kept no more than about 100 ms
// of the wire ahead. Told to stop before the last line, the port is handed no further
// line, the lines it holds reach the controller and are counted, then the lone CR ends
// the download, and nothing is stored or started (Cancelled); the controller then holds
// the lines counted. After the last line the program is whole and the questions are asked.
Download downloadProgram(Link& link, const QStringList& ControllerText,
                         const std::function<bool(const QString& question)>& ask,
                         const std::function<bool(int sent, int total)>& progress = {});

}  // namespace tql
