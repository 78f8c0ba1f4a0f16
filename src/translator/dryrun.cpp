#include "translator/dryrun.h"

#include "controller/machine.h"
#include "files/big5.h"
#include "translator/programchecks.h"
#include "translator/translator.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

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

namespace {

// A fault the checks did not see coming (a counter run out of range, a call too deep), in
// the operator's words.
QString faultText(const controller::Fault& fault) {
    const QString statement = QString::fromStdString(fault.statement);
    switch (fault.kind) {
        case controller::FaultKind::CallsTooDeep:
        case controller::FaultKind::Recursion:
            return QStringLiteral("呼叫超過 %1 層").arg(controller::kMaxCallDepth);
        case controller::FaultKind::NoSuchLabel:
            return QStringLiteral("「%1」的標籤不存在").arg(statement);
        case controller::FaultKind::LineTooLong:
            return QStringLiteral("指令超過 %1 位元組").arg(controller::kMaxLineLength);
        case controller::FaultKind::ProgramTooLong:
        case controller::FaultKind::BadValue:
        case controller::FaultKind::Unknown:
            break;
    }
    return QStringLiteral("控制器不接受「%1」").arg(statement);
}

}  // namespace

DryRunResult DryRun(const ProgramTable& table, int RowCounter, const DryRunSetup& setup) {
    DryRunResult result;
    const Translation translation = TranslateProgram(table, RowCounter);
    if (!translation.ok()) {
        result.row = translation.errorRow;
        result.message = translation.namedError();
        return result;
    }
    const auto rowOf = [&](size_t line) {
        return line == 0 ? 0 : translation.LineRows.at(line - 1);
    };
    const auto stop = [&](DryRunEnd end, int row, const QString& why) {
        result.end = end;
        result.row = row;
        result.message = QStringLiteral("第 %1 列: %2").arg(row).arg(why);
    };
    // What the checks find in error stops the run where it is reached, as the controller
    // model stops at a value it refuses: the dry run and the checks tell one story.
    std::map<int, QString> errors;
    for (const Finding& finding : CheckProgram(table, RowCounter)) {
        if (finding.severity == Severity::Error) {
            errors.try_emplace(finding.row, finding.message);
        }
    }
    std::set<size_t> haltLines;
    std::vector<std::string> lines;
    for (qsizetype n = 0; n < translation.ControllerText.size(); ++n) {
        const int row = translation.LineRows[size_t(n)];
        if (errors.contains(row) && (n == 0 || translation.LineRows[size_t(n - 1)] != row)) {
            haltLines.insert(size_t(n) + 1);
        }
        const QByteArray bytes = encodeBig5(translation.ControllerText[n]).value_or(QByteArray());
        if (size_t(bytes.size()) > controller::kMaxLineLength) {
            // The controller would drop the line: the program it keeps is another one.
            stop(DryRunEnd::ProgramError, row, QStringLiteral("錯誤, 停止: ") + errors[row]);
            return result;
        }
        lines.push_back(bytes.toStdString());
    }
    // The program as the controller stores it after a download, run on the machine itself.
    controller::Machine machine({.loopback = false, .accelerate = true});
    machine.load(std::move(lines));
    machine.setHaltLines(std::move(haltLines));
    machine.setPosition(setup.startPosition);
    for (int k = 0; k < controller::kInputs; ++k) {
        machine.setInput(k + 1, setup.inputs[size_t(k)]);
    }
    std::vector<InputChange> changes = setup.changes;
    std::stable_sort(changes.begin(), changes.end(),
                     [](const InputChange& a, const InputChange& b) { return a.at < b.at; });
    auto nextChange = changes.begin();
    // A wait no change still to come can release lasts for ever.
    const auto releasable = [&](const controller::Machine::InputWait& wait) {
        return std::any_of(nextChange, changes.end(), [&](const InputChange& c) {
            return c.input == wait.input && c.on == wait.on;
        });
    };

    machine.startProgram(0);
    machine.advance(0);  // the first statements run at the start, not a step later
    double position = machine.position();
    result.lowest = result.highest = position;
    result.samples.emplace_back(0, position);
    double nextSample = setup.sampleInterval;
    long long tick = 0;
    double t = 0;
    // A wait on an input, timed from the moment the program stops at it to the moment it
    // goes on, and counted against the program row that stands behind it.
    size_t waitingLine = 0;
    double waitStart = 0;
    bool stuck = false;
    const auto followWaits = [&] {
        const auto& wait = machine.waitingOnInput();
        const size_t line = wait ? wait->line : 0;
        stuck = wait && !releasable(*wait);
        if (line == waitingLine) {
            return;
        }
        if (waitingLine != 0) {
            result.waits.back().seconds = t - waitStart;
        }
        if (line != 0) {
            result.waits.push_back({rowOf(line), 0});
            waitStart = t;
        }
        waitingLine = line;
    };
    followWaits();
    while (machine.running() && !stuck && t < setup.timeLimit &&
           machine.executed() < setup.lineLimit) {
        t = double(++tick) * kStep;
        for (; nextChange != changes.end() && nextChange->at <= t; ++nextChange) {
            machine.setInput(nextChange->input, nextChange->on);
        }
        machine.advance(t);
        const double now = machine.position();
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
    if (const size_t halted = machine.haltedAt(); halted != 0) {
        stop(DryRunEnd::ProgramError, rowOf(halted),
             QStringLiteral("錯誤, 停止: ") + errors[rowOf(halted)]);
    } else if (const auto& fault = machine.fault()) {
        stop(DryRunEnd::ProgramError, rowOf(fault->line),
             QStringLiteral("錯誤, 停止: ") + faultText(*fault));
    } else if (!machine.running()) {
        result.end = DryRunEnd::Finished;
    } else if (stuck) {
        const auto& wait = machine.waitingOnInput();
        stop(DryRunEnd::WaitsForever, rowOf(wait->line),
             QStringLiteral("等待輸入 %1, 沒有排定的變化").arg(wait->input));
    } else if (machine.executed() >= setup.lineLimit) {
        stop(DryRunEnd::LineLimit, rowOf(machine.currentLine()),
             QStringLiteral("執行一百萬行後停止: 程式可能是無窮迴圈"));
    } else {
        stop(DryRunEnd::TimeLimit, rowOf(machine.currentLine()),
             QStringLiteral("模擬 %1 秒後停止: 程式仍在執行").arg(result.seconds, 0, 'f', 0));
    }
    if (result.samples.back().first < t) {
        result.samples.emplace_back(t, position);
    }
    return result;
}

QStringList dryRunSummary(const DryRunResult& result) {
    if (result.end == DryRunEnd::NotTranslated) {
        return {QStringLiteral("無法模擬: %1").arg(result.message)};
    }
    QStringList lines;
    if (result.end == DryRunEnd::Finished) {
        lines << QStringLiteral("程式執行完畢")
              << QStringLiteral("一次執行時間: %1 秒").arg(result.seconds, 0, 'f', 3);
    } else {
        lines << result.message
              << QStringLiteral("模擬到 %1 秒, 程式沒有跑完: 沒有一次執行時間")
                     .arg(result.seconds, 0, 'f', 3);
    }
    lines << QStringLiteral("移動距離: %1").arg(result.travelled, 0, 'f', 3)
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
