#include "translator/dryrun.h"

#include "controller/controller.h"
#include "translator/translator.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace tql {
namespace {

// Small enough for the trapezoid's corners, large enough for ten minutes in well under a
// second.
constexpr double kStep = 0.001;

}  // namespace

std::optional<InputChange> parseInputChange(const QString& line) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(?:輸入\\s*)?([1-8])\\s*(?:在\\s*)?([0-9]+(?:\\.[0-9]*)?)\\s*(?:"
                       "秒時變\\s*)?([01])\\s*$"));
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return InputChange{match.captured(1).toInt(), match.captured(2).toDouble(),
                       match.captured(3) == u"1"};
}

QString formatInputChange(const InputChange& change) {
    return QStringLiteral("輸入 %1 在 %2 秒時變 %3")
        .arg(change.input)
        .arg(change.at, 0, 'f', 1)
        .arg(change.on ? 1 : 0);
}

DryRunResult DryRun(const ProgramTable& table, int RowCounter, const DryRunSetup& setup) {
    DryRunResult result;
    const Translation translation = TranslateProgram(table, RowCounter);
    if (!translation.ok()) {
        result.message = translation.error;
        return result;
    }
    sim::Controller controller(
        {.fixedReply = {}, .silent = false, .loopback = false, .accelerate = true});
    std::string download =
        "\x1b\x1b"
        "DL\r";
    for (const QString& line : translation.ControllerText) {
        download += line.toStdString() + '\r';
    }
    controller.receive(download + "\r", 0);
    controller.setPosition(setup.startPosition);
    for (int k = 0; k < 8; ++k) {
        controller.setInput(k + 1, setup.inputs[size_t(k)]);
    }
    std::vector<InputChange> changes = setup.changes;
    std::sort(changes.begin(), changes.end(),
              [](const InputChange& a, const InputChange& b) { return a.at < b.at; });
    auto nextChange = changes.begin();

    controller.receive("G\r", 0);
    controller.advance(0);  // the first statements run at the start, not a step later
    double position = controller.position();
    result.lowest = result.highest = position;
    result.samples.emplace_back(0, position);
    double nextSample = setup.sampleInterval;
    long long tick = 0;
    double t = 0;
    // A wait on an input, timed from the moment the program stops at it to the moment it
    // goes on, and counted against the program row that stands behind it.
    size_t waitingLine = 0;
    double waitStart = 0;
    const auto followWaits = [&] {
        const size_t line = controller.waitingOnInput();
        if (line == waitingLine) {
            return;
        }
        if (waitingLine != 0) {
            result.waits.back().seconds = t - waitStart;
        }
        if (line != 0) {
            result.waits.push_back({translation.LineRows.at(line - 1), 0});
            waitStart = t;
        }
        waitingLine = line;
    };
    followWaits();
    while (controller.running() && t < setup.timeLimit && controller.executed() < setup.lineLimit) {
        t = double(++tick) * kStep;
        for (; nextChange != changes.end() && nextChange->at <= t; ++nextChange) {
            controller.setInput(nextChange->input, nextChange->on);
        }
        controller.advance(t);
        const double now = controller.position();
        result.travelled += std::fabs(now - position);
        position = now;
        result.lowest = std::min(result.lowest, now);
        result.highest = std::max(result.highest, now);
        if (t + 1e-9 >= nextSample) {
            result.samples.emplace_back(t, now);
            nextSample += setup.sampleInterval;
        }
        followWaits();
    }
    if (waitingLine != 0) {
        result.waits.back().seconds = t - waitStart;
    }
    result.seconds = t;
    if (!controller.error().empty()) {
        result.end = DryRunEnd::ProgramError;
        result.message = QString::fromStdString(controller.error());
    } else if (!controller.running()) {
        result.end = DryRunEnd::Finished;
    } else if (controller.executed() >= setup.lineLimit) {
        result.end = DryRunEnd::LineLimit;
    } else {
        result.end = DryRunEnd::TimeLimit;
    }
    if (result.samples.back().first < t) {
        result.samples.emplace_back(t, position);
    }
    return result;
}

QStringList dryRunSummary(const DryRunResult& result) {
    QStringList lines;
    switch (result.end) {
        case DryRunEnd::NotTranslated:
            return {QStringLiteral("無法模擬: %1").arg(result.message)};
        case DryRunEnd::Finished:
            lines << QStringLiteral("程式執行完畢");
            break;
        case DryRunEnd::TimeLimit:
            lines << QStringLiteral("模擬 %1 秒後停止: 程式仍在執行 (或等待輸入)")
                         .arg(result.seconds, 0, 'f', 0);
            break;
        case DryRunEnd::LineLimit:
            lines << QStringLiteral("執行一百萬行後停止: 程式可能是無窮迴圈");
            break;
        case DryRunEnd::ProgramError:
            lines << QStringLiteral("程式錯誤, 停止: %1").arg(result.message);
            break;
    }
    lines << QStringLiteral("一次執行時間: %1 秒").arg(result.seconds, 0, 'f', 3)
          << QStringLiteral("移動距離: %1").arg(result.travelled, 0, 'f', 3)
          << QStringLiteral("位置範圍: %1 .. %2")
                 .arg(result.lowest, 0, 'f', 3)
                 .arg(result.highest, 0, 'f', 3);
    for (const DryRunWait& wait : result.waits) {
        lines
            << QStringLiteral("第 %1 列等待輸入 %2 秒").arg(wait.row).arg(wait.seconds, 0, 'f', 3);
    }
    return lines;
}

}  // namespace tql
