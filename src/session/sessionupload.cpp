// 上傳 of the controller session: the program translated and checked, then downloaded with
// its progress reported, and the controller asked to store and run it.
#include "files/tracefile.h"
#include "session/controllersession.h"
#include "session/portrecords.h"
#include "session/runhistory.h"
#include "session/usersettings.h"
#include "translator/programchecks.h"
#include "translator/upload.h"

namespace tql {

// A program that cannot be sent touches nothing: it is translated and checked before the
// port is opened, since connecting already stops the controller's running program.
// Errors the translator lets through (a missing label, a move to a text) would reach the
// controller: the operator sees the first few and decides. Warnings do not stop it.
bool ControllerSession::uploadDespiteErrors(const ProgramTable& table, int rowCounter) {
    constexpr qsizetype kShown = 5;
    QStringList errors;
    for (const Finding& finding : CheckProgram(table, rowCounter)) {
        if (finding.severity == Severity::Error && !refusedByTranslator(finding.kind)) {
            errors << formatFinding(finding);
        }
    }
    if (errors.isEmpty()) {
        return true;
    }
    const qsizetype more = errors.size() - kShown;
    QString text = ControllerSession::tr("程式有錯誤:\n") + errors.mid(0, kShown).join(u'\n');
    if (more > 0) {
        text += ControllerSession::tr("\n... 另有 %1 個錯誤").arg(more);
    }
    text += ControllerSession::tr("\n\n是否仍要上傳?");
    return ask(text, Prompter::Icon::Warning);
}

Exchange ControllerSession::upload(const ProgramTable& table, int rowCounter) {
    if (lineHeld()) {
        return Exchange::LineHeld;
    }
    Translation translation;
    if (rowCounter > 0) {
        translation = TranslateProgram(table, rowCounter);
        if (!translation.ok()) {
            // Unpaired loops are a matter of the whole program; every other refusal names
            // the row to mend.
            notice(translation.refusal == Refusal::LoopPairing ? translation.error()
                                                               : translation.namedError());
            return Exchange::NotSent;
        }
        if (const std::optional<int> row = rowBig5CannotHold(translation)) {
            notice(ControllerSession::tr("第 %1 列有 Big5 無法表示的字元, 無法上傳!").arg(*row));
            return Exchange::NotSent;
        }
        if (!uploadDespiteErrors(table, rowCounter)) {
            return Exchange::NotSent;
        }
    }
    if (!m_link.isOpen()) {
        connectController();
    }
    if (!m_link.isOpen()) {
        return Exchange::NotSent;
    }
    if (rowCounter == 0) {
        return Exchange::Done;  // an empty program only connects, as it always has
    }
    // The trace is a record only: a trace that cannot be written is reported, the upload
    // goes on.
    if (const auto failure =
            writeTextLines(traceFilePath(objectName()), translation.ControllerText)) {
        notice(ControllerSession::tr("無法寫入記錄檔: %1").arg(*failure));
    }
    if (!m_link.isOpen()) {
        notice(ControllerSession::tr("尚未連線"));
        return Exchange::NotSent;
    }
    download(translation.ControllerText, programHash(table, rowCounter));
    return Exchange::Done;
}

// At 9600 baud a long program is seconds on the wire: every line is reported as it goes
// out, and whoever shows it may let events run, so the line is held throughout.
void ControllerSession::download(const QStringList& text, const QString& hash) {
    const Hold hold(*this);
    m_uploadCancelled = false;
    const int total = int(text.size());
    int linesSent = 0;
    const auto sent = [&](int lines, int all) {
        linesSent = lines;
        emit uploadProgress(lines, all);
        return !m_uploadCancelled;
    };
    const auto question = [this](const QString& q) { return ask(q, Prompter::Icon::Question); };
    const Download done = downloadProgram(m_link, text, question, sent);
    emit uploadEnded();
    if (done.outcome == DownloadOutcome::Sent || done.outcome == DownloadOutcome::Started) {
        QSettings settings = userSettings();
        recordUpload(settings, portNumber(), {hash, done.stored, QDateTime::currentDateTimeUtc()});
    }
    switch (done.outcome) {
        case DownloadOutcome::Sent:
            break;
        case DownloadOutcome::Started:
            startMeasuring();
            break;
        case DownloadOutcome::Cancelled:
            prompter().message(nullptr, uploadCancelledMessage(linesSent, total),
                               ControllerSession::tr("訊息"), Prompter::Buttons::Ok,
                               Prompter::Icon::Warning);
            break;
        case DownloadOutcome::NoAnswer:
            notice(noAnswer());
            // The console shows what is true: a closed port is a disconnected console.
            showDisconnected();
            break;
        case DownloadOutcome::LineLost:
            // Like 取消: the controller may now hold part of the program.
            lostPort(ControllerSession::tr("控制器現在可能存有不完整的程式 (已送出 %1 / %2 行), "
                                           "請重新連線後再上傳完整的程式.")
                         .arg(linesSent)
                         .arg(total));
            break;
    }
}

QString uploadCancelledMessage(int sent, int total) {
    return ControllerSession::tr(
               "上傳已取消: 控制器現在存有不完整的程式 (已送出 %1 / %2 行), 未儲存也未執行.\n"
               "請重新上傳完整的程式.")
        .arg(sent)
        .arg(total);
}

}  // namespace tql
