#include "translator/dryrun.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cmath>

// The dry run's words: the input changes as the operator writes them, the summary, the
// trace and the watch as the window and tq4c show them.
namespace tql {
namespace {

// The operator's texts here, in the language the tool runs in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(DryRun)
};

}  // namespace

std::optional<InputChange> parseInputChange(const QString& line) {
    // The words of either language, as the placeholder shows them; or the bare numbers apart
    // ("3 2.0 1": "311" could be read more than one way).
    static const QRegularExpression atTime(
        QStringLiteral("^\\s*(?:(?:輸入|input)\\s*)?([1-8])(?:\\s*(?:在|at)\\s*|\\s+)"
                       "([0-9]+(?:\\.[0-9]*)?)(?:\\s*(?:秒時變|s\\s+becomes)\\s*|\\s+)([01])\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression afterWait(
        QStringLiteral("^\\s*(?:(?:輸入|input)\\s*)?([1-8])\\s*(?:在\\s*)?等待\\s*"
                       "([0-9]+(?:\\.[0-9]*)?)\\s*秒後變\\s*([01])\\s*$|"
                       "^\\s*(?:input\\s*)?([1-8])\\s+([0-9]+(?:\\.[0-9]*)?)\\s*s\\s+into\\s+"
                       "(?:a|its|each)\\s+wait\\s+becomes\\s+([01])\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    std::optional<InputChange> change;
    if (const QRegularExpressionMatch match = afterWait.match(line); match.hasMatch()) {
        const int first = match.captured(1).isEmpty() ? 4 : 1;
        change = InputChange{match.captured(first).toInt(), match.captured(first + 1).toDouble(),
                             match.captured(first + 2) == u"1", true};
    } else if (const QRegularExpressionMatch at = atTime.match(line); at.hasMatch()) {
        change =
            InputChange{at.captured(1).toInt(), at.captured(2).toDouble(), at.captured(3) == u"1"};
    }
    // A time of 400 digits is no moment of a run.
    if (change && !std::isfinite(change->at)) {
        return std::nullopt;
    }
    return change;
}

QString traceLine(const TracedRow& traced) {
    return QStringLiteral("%1 %2 %3 %4")
        .arg(traced.seconds, 0, 'f', 3)
        .arg(Texts::tr("第 %1 列").arg(traced.row))
        .arg(traced.keyword)
        .arg(traced.position, 0, 'f', 3);
}

QStringList watchText(const Watch& watch) {
    const auto switches = [](const auto& states) {
        QStringList bits;
        for (const bool on : states) {
            bits << (on ? QStringLiteral("1") : QStringLiteral("0"));
        }
        return bits.join(u' ');
    };
    const QString where = !watch.ended     ? Texts::tr("目前: 第 %1 列").arg(watch.row)
                          : watch.row == 0 ? Texts::tr("程式已結束")
                                           : Texts::tr("停止於第 %1 列").arg(watch.row);
    QStringList lines;
    lines << Texts::tr("時間: %1 秒").arg(watch.seconds, 0, 'f', 3) << where
          << Texts::tr("位置: %1").arg(watch.position, 0, 'f', 3)
          << Texts::tr("速度: %1").arg(watch.speed, 0, 'f', 3)
          << Texts::tr("設定: VM %1, VA %2").arg(watch.speedSetting).arg(watch.acceleration)
          << Texts::tr("輸入 1-8: %1").arg(switches(watch.inputs))
          << Texts::tr("輸出 1-4: %1").arg(switches(watch.outputs));
    for (const LoopCounter& loop : watch.loops) {
        lines << Texts::tr("迴圈 (第 %1 列): 第 %2 次, 共 %3 次")
                     .arg(loop.row)
                     .arg(loop.total - loop.count + 1)
                     .arg(loop.total);
    }
    for (const int call : watch.calls) {
        lines << Texts::tr("呼叫 (第 %1 列): 等待返回").arg(call);
    }
    if (!watch.waitsFor.isEmpty()) {
        lines << watch.waitsFor;
    }
    return lines;
}

QStringList dryRunSummary(const DryRunResult& result) {
    if (result.end == DryRunEnd::NotTranslated) {
        return {Texts::tr("無法模擬: %1").arg(result.message)};
    }
    QStringList lines;
    if (result.end == DryRunEnd::Finished) {
        lines << Texts::tr("程式執行完畢")
              << Texts::tr("一次執行時間: %1 秒").arg(result.seconds, 0, 'f', 3);
    } else {
        lines << result.message
              << Texts::tr("模擬到 %1 秒, 程式沒有跑完: 沒有一次執行時間")
                     .arg(result.seconds, 0, 'f', 3);
    }
    lines << Texts::tr("移動距離: %1").arg(result.travelled, 0, 'f', 3)
          << Texts::tr("位置範圍: %1 .. %2")
                 .arg(result.lowest, 0, 'f', 3)
                 .arg(result.highest, 0, 'f', 3);
    for (const DryRunWait& wait : result.waits) {
        lines << Texts::tr("第 %1 列等待輸入 %2 秒").arg(wait.row).arg(wait.seconds, 0, 'f', 3);
    }
    for (const AssumedWait& assumed : result.assumed) {
        lines << Texts::tr("假設: 第 %1 列等待輸入 %2 變 %3 %4 秒, %5 次")
                     .arg(assumed.row)
                     .arg(assumed.input)
                     .arg(assumed.on ? 1 : 0)
                     .arg(assumed.seconds, 0, 'f', 3)
                     .arg(assumed.times);
    }
    return lines;
}
}  // namespace tql
