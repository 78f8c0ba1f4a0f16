#include "translator/dryrun.h"

#include "controller/machine.h"
#include "files/big5.h"
#include "translator/programchecks.h"
#include "translator/translator.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace tql {
namespace {

// The operator's texts here, in the language the tool runs in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(DryRun)
};

// Small enough for the trapezoid's corners, large enough for ten minutes in well under a
// second.
constexpr double kStep = 0.001;

}  // namespace

std::optional<InputChange> parseInputChange(const QString& line) {
    // The words of either language, as the placeholder shows them; or the bare numbers.
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(?:(?:輸入|input)\\s*)?([1-8])\\s*(?:(?:在|at)\\s*)?"
                       "([0-9]+(?:\\.[0-9]*)?)\\s*(?:(?:秒時變|s\\s+becomes)\\s*)?([01])\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return InputChange{match.captured(1).toInt(), match.captured(2).toDouble(),
                       match.captured(3) == u"1"};
}

QString formatInputChange(const InputChange& change) {
    return Texts::tr("輸入 %1 在 %2 秒時變 %3")
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
            return Texts::tr("呼叫超過 %1 層").arg(controller::kMaxCallDepth);
        case controller::FaultKind::NoSuchLabel:
            return Texts::tr("「%1」的標籤不存在").arg(statement);
        case controller::FaultKind::LineTooLong:
            return Texts::tr("指令超過 %1 位元組").arg(controller::kMaxLineLength);
        case controller::FaultKind::ProgramTooLong:
        case controller::FaultKind::BadValue:
        case controller::FaultKind::Unknown:
            break;
    }
    return Texts::tr("控制器不接受「%1」").arg(statement);
}

}  // namespace

namespace {

// One dry run: the translated program loaded into the machine, then run in steps of kStep
// with the input changes applied as their time comes, the motion and the waits recorded.
class DryRunner {
public:
    DryRunner(const Translation& translation, const DryRunSetup& setup)
        : m_translation(translation), m_setup(setup) {}

    DryRunResult run(const ProgramTable& table, int RowCounter) {
        if (load(table, RowCounter)) {
            simulate();
            classifyEnd();
        }
        return m_result;
    }

private:
    int rowOf(size_t line) const { return line == 0 ? 0 : m_translation.LineRows.at(line - 1); }
    void stop(DryRunEnd end, int row, const QString& why) {
        m_result.end = end;
        m_result.row = row;
        m_result.message = Texts::tr("第 %1 列: %2").arg(row).arg(why);
    }

    // What the checks find in error stops the run where it is reached, as the controller
    // model stops at a value it refuses: the dry run and the checks tell one story. The
    // program is the one the controller stores after a download, run on the machine itself.
    bool load(const ProgramTable& table, int RowCounter) {
        for (const Finding& finding : CheckProgram(table, RowCounter)) {
            if (finding.severity == Severity::Error) {
                m_errors.try_emplace(finding.row, finding.message);
            }
        }
        const QStringList& text = m_translation.ControllerText;
        std::set<size_t> haltLines;
        std::vector<std::string> lines;
        for (qsizetype n = 0; n < text.size(); ++n) {
            const int row = m_translation.LineRows[size_t(n)];
            if (m_errors.contains(row) &&
                (n == 0 || m_translation.LineRows[size_t(n - 1)] != row)) {
                haltLines.insert(size_t(n) + 1);
            }
            const QByteArray bytes = encodeBig5(text[n]).value_or(QByteArray());
            if (size_t(bytes.size()) > controller::kMaxLineLength) {
                // The controller would drop the line: the program it keeps is another one.
                stop(DryRunEnd::ProgramError, row, Texts::tr("錯誤, 停止: ") + m_errors[row]);
                return false;
            }
            lines.push_back(bytes.toStdString());
        }
        m_machine.load(std::move(lines));
        m_machine.setHaltLines(std::move(haltLines));
        m_machine.setPosition(m_setup.startPosition);
        for (int k = 0; k < controller::kInputs; ++k) {
            m_machine.setInput(k + 1, m_setup.inputs[size_t(k)]);
        }
        m_changes = m_setup.changes;
        std::stable_sort(m_changes.begin(), m_changes.end(),
                         [](const InputChange& a, const InputChange& b) { return a.at < b.at; });
        m_nextChange = m_changes.begin();
        return true;
    }

    void simulate() {
        m_machine.startProgram(0);
        m_machine.advance(0);  // the first statements run at the start, not a step later
        m_position = m_machine.position();
        m_result.lowest = m_result.highest = m_position;
        m_result.samples.emplace_back(0, m_position);
        double nextSample = m_setup.sampleInterval;
        long long tick = 0;
        followWaits();
        while (m_machine.running() && !m_stuck && m_t < m_setup.timeLimit &&
               m_machine.executed() < m_setup.lineLimit) {
            m_t = double(++tick) * kStep;
            for (; m_nextChange != m_changes.end() && m_nextChange->at <= m_t; ++m_nextChange) {
                m_machine.setInput(m_nextChange->input, m_nextChange->on);
            }
            m_machine.advance(m_t);
            const double now = m_machine.position();
            m_result.travelled += std::fabs(now - m_position);
            m_position = now;
            m_result.lowest = std::min(m_result.lowest, now);
            m_result.highest = std::max(m_result.highest, now);
            if (m_t + 1e-9 >= nextSample) {
                m_result.samples.emplace_back(m_t, now);
                nextSample += m_setup.sampleInterval;
            }
            followWaits();
        }
        if (m_waitingLine != 0) {
            m_result.waits.back().seconds = m_t - m_waitStart;
        }
        m_result.seconds = m_t;
    }

    // A wait no change still to come can release lasts for ever.
    bool releasable(const controller::Machine::InputWait& wait) const {
        return std::any_of(m_nextChange, m_changes.cend(), [&](const InputChange& c) {
            return c.input == wait.input && c.on == wait.on;
        });
    }

    // A wait on an input, timed from the moment the program stops at it to the moment it
    // goes on, and counted against the program row that stands behind it.
    void followWaits() {
        const auto& wait = m_machine.waitingOnInput();
        const size_t line = wait ? wait->line : 0;
        m_stuck = wait && !releasable(*wait);
        if (line == m_waitingLine) {
            return;
        }
        if (m_waitingLine != 0) {
            m_result.waits.back().seconds = m_t - m_waitStart;
        }
        if (line != 0) {
            m_result.waits.push_back({rowOf(line), 0});
            m_waitStart = m_t;
        }
        m_waitingLine = line;
    }

    void classifyEnd() {
        const QString error = Texts::tr("錯誤, 停止: ");
        if (const size_t halted = m_machine.haltedAt(); halted != 0) {
            stop(DryRunEnd::ProgramError, rowOf(halted), error + m_errors[rowOf(halted)]);
        } else if (const auto& fault = m_machine.fault()) {
            stop(DryRunEnd::ProgramError, rowOf(fault->line), error + faultText(*fault));
        } else if (!m_machine.running()) {
            m_result.end = DryRunEnd::Finished;
        } else if (m_stuck) {
            const auto& wait = m_machine.waitingOnInput();
            stop(DryRunEnd::WaitsForever, rowOf(wait->line),
                 Texts::tr("等待輸入 %1, 沒有排定的變化").arg(wait->input));
        } else if (m_machine.executed() >= m_setup.lineLimit) {
            stop(DryRunEnd::LineLimit, rowOf(m_machine.currentLine()),
                 Texts::tr("執行一百萬行後停止: 程式可能是無窮迴圈"));
        } else {
            stop(DryRunEnd::TimeLimit, rowOf(m_machine.currentLine()),
                 Texts::tr("模擬 %1 秒後停止: 程式仍在執行").arg(m_result.seconds, 0, 'f', 0));
        }
        if (m_result.samples.back().first < m_t) {
            m_result.samples.emplace_back(m_t, m_position);
        }
    }

    const Translation& m_translation;
    const DryRunSetup& m_setup;
    controller::Machine m_machine{{.loopback = false, .accelerate = true}};
    DryRunResult m_result;
    std::map<int, QString> m_errors;
    std::vector<InputChange> m_changes;
    std::vector<InputChange>::const_iterator m_nextChange;
    double m_t = 0;
    double m_position = 0;
    size_t m_waitingLine = 0;
    double m_waitStart = 0;
    bool m_stuck = false;
};

}  // namespace

DryRunResult DryRun(const ProgramTable& table, int RowCounter, const DryRunSetup& setup) {
    const Translation translation = TranslateProgram(table, RowCounter);
    if (!translation.ok()) {
        DryRunResult result;
        result.row = translation.errorRow;
        result.message = translation.namedError();
        return result;
    }
    return DryRunner(translation, setup).run(table, RowCounter);
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
    return lines;
}

}  // namespace tql
