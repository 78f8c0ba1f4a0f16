// 上傳 of the console panel: the program translated and checked, then downloaded with its
// progress shown, and the controller asked to store and run it.
#include "files/tracefile.h"
#include "translator/programchecks.h"
#include "translator/upload.h"
#include "window/consolepanel.h"
#include "window/prompter.h"

#include <QProgressDialog>

namespace tql {

// A program that cannot be sent touches nothing: it is translated and checked before the
// port is opened, since connecting already stops the controller's running program.
// Errors the translator lets through (a missing label, a move to a text) would reach the
// controller: the operator sees the first few and decides. Warnings do not stop the upload.
bool ConsolePanel::uploadDespiteErrors() {
    constexpr qsizetype kShown = 5;
    QStringList errors;
    for (const Finding& finding : CheckProgram(m_program.table(), m_program.RowCounter())) {
        if (finding.severity == Severity::Error && !finding.refusedByTranslator) {
            errors << formatFinding(finding);
        }
    }
    if (errors.isEmpty()) {
        return true;
    }
    const qsizetype more = errors.size() - kShown;
    QString text = QStringLiteral("程式有錯誤:\n") + errors.mid(0, kShown).join(u'\n');
    if (more > 0) {
        text += QStringLiteral("\n... 另有 %1 個錯誤").arg(more);
    }
    text += QStringLiteral("\n\n是否仍要上傳?");
    return m_prompter.message(window(), text, QStringLiteral("訊息"), Prompter::Buttons::YesNo,
                              Prompter::Icon::Warning) == Prompter::Answer::Yes;
}

void ConsolePanel::Command3_Click() {
    Translation translation;
    if (m_program.RowCounter() > 0) {
        translation = TranslateProgram(m_program.table(), m_program.RowCounter());
        if (!translation.ok()) {
            // Unpaired loops are a matter of the whole program; every other refusal names
            // the row to mend.
            notice(translation.error == loopPairingError() ? translation.error
                                                           : translation.namedError());
            return;
        }
        if (const std::optional<int> row = rowBig5CannotHold(translation)) {
            notice(QStringLiteral("第 %1 列有 Big5 無法表示的字元, 無法上傳!").arg(*row));
            return;
        }
        if (!uploadDespiteErrors()) {
            return;
        }
    }
    if (!m_link.isOpen()) {
        ConnectController();
    }
    if (!m_link.isOpen() || m_program.RowCounter() == 0) {
        return;
    }
    // The trace is a record only: a trace that cannot be written is reported, the upload
    // goes on.
    if (const auto failure = writeTextLines(traceFilePath(), translation.ControllerText)) {
        notice(QStringLiteral("無法寫入記錄檔: %1").arg(*failure));
    }
    if (!m_link.isOpen()) {
        notice(QStringLiteral("尚未連線"));
        return;
    }
    m_timer1.stop();
    // At 9600 baud a long program is seconds on the wire: a progress window shows the lines
    // going out. It lets events run to repaint, so the line is held meanwhile. Its 取消 (or
    // Esc) stops the upload after the line on the wire; it is never merely hidden while
    // the upload goes on unseen.
    const Link::Exclusive exclusive(m_link);
    const int total = int(translation.ControllerText.size());
    QProgressDialog progress(QStringLiteral("上傳中..."), QStringLiteral("取消"), 0, total,
                             window());
    progress.setObjectName(QStringLiteral("UploadProgress"));
    progress.setWindowTitle(QStringLiteral("上傳"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    int linesSent = 0;
    const auto sent = [&](int lines, int all) {
        linesSent = lines;
        progress.setLabelText(QStringLiteral("上傳中... 第 %1 / %2 行").arg(lines).arg(all));
        progress.setValue(lines);
        emit uploadProgress(lines, all);
        const bool goOn = !progress.wasCanceled();
        if (lines == all || !goOn) {
            progress.hide();  // the questions or the word on the cancel come next
        }
        return goOn;
    };
    const auto ask = [this](const QString& question) {
        return m_prompter.message(window(), question, QStringLiteral("訊息"),
                                  Prompter::Buttons::YesNo,
                                  Prompter::Icon::Question) == Prompter::Answer::Yes;
    };
    switch (downloadProgram(m_link, translation.ControllerText, ask, sent)) {
        case DownloadOutcome::Sent:
            m_timer1.start();
            break;
        case DownloadOutcome::Cancelled:
            m_prompter.message(window(), uploadCancelledMessage(linesSent, total),
                               QStringLiteral("訊息"), Prompter::Buttons::Ok,
                               Prompter::Icon::Warning);
            m_timer1.start();
            break;
        case DownloadOutcome::NoAnswer:
            notice(noAnswer());
            // The console shows what is true: a closed port is a disconnected console.
            ShowDisconnected();
            break;
        case DownloadOutcome::LineLost:
            lostPort();
            break;
    }
}

QString uploadCancelledMessage(int sent, int total) {
    return QStringLiteral(
               "上傳已取消: 控制器現在存有不完整的程式 (已送出 %1 / %2 行), 未儲存也未執行.\n"
               "請重新上傳完整的程式.")
        .arg(sent)
        .arg(total);
}

}  // namespace tql
