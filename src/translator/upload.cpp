#include "translator/upload.h"

#include "link/commands.h"
#include "link/console.h"

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

DownloadOutcome downloadProgram(Link& link, const QStringList& ControllerText,
                                const std::function<bool(const QString& question)>& ask,
                                const std::function<bool(int sent, int total)>& progress) {
    if (!probeController(link)) {
        return DownloadOutcome::NoAnswer;
    }
    const auto lost = [&link] { return link.lostReason().has_value(); };
    stopControllerProgram(link);
    link.writeLine(kDownload);
    const int total = int(ControllerText.size());
    bool cancelled = false;
    for (int i = 0; i < total && !cancelled; ++i) {
        if (lost()) {
            return DownloadOutcome::LineLost;
        }
        link.writeLine(ControllerText[i]);
        if (progress) {
            link.drain();  // the progress counts lines on the wire, not in a buffer
            if (lost()) {
                return DownloadOutcome::LineLost;  // a line that never left is not counted
            }
            cancelled = !progress(i + 1, total) && i + 1 < total;
        }
    }
    link.writeCarriageReturn();
    if (lost()) {
        return DownloadOutcome::LineLost;
    }
    if (cancelled) {
        return DownloadOutcome::Cancelled;
    }
    if (ask(storeQuestion())) {
        link.writeLine(kSaveProgram);
    }
    if (lost()) {
        return DownloadOutcome::LineLost;
    }
    if (ask(runQuestion())) {
        link.writeLine(kHoldOn);
        link.sleep(kBeforeGoWait);
        link.writeLine(kGo);
    }
    return lost() ? DownloadOutcome::LineLost : DownloadOutcome::Sent;
}

}  // namespace tql
