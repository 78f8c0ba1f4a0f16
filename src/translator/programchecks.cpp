#include "translator/programchecks.h"

#include "controller/controller.h"
#include "files/big5.h"
#include "program/rowkinds.h"
#include "translator/faulttext.h"
#include "translator/translator.h"

#include <QCoreApplication>
#include <algorithm>
#include <map>
#include <set>

namespace tql {
namespace {

// The operator's texts here, in the language the tool runs in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(ProgramChecks)
};

QString number(double x) {
    return QString::number(x, 'f', 0);
}

// The controller model's limit for the values of a column; nothing for the columns that
// hold no number.
std::optional<controller::Limit> limitOf(Quantity quantity) {
    switch (quantity) {
        case Quantity::Position:
            return controller::kSafePositionLimit;
        case Quantity::Speed:
            return controller::kSafeSpeedLimit;
        case Quantity::Delay:
            return controller::kSafeDelayLimit;
        case Quantity::LoopCount:
            // The controller counts down to zero: a count below 1 would never reach it.
            return controller::Limit{1, controller::kSafeCounterLimit.high, true, true};
        case Quantity::Input:
            return controller::kInputLimit;
        case Quantity::Output:
            return controller::kOutputLimit;
        case Quantity::OutputPattern:
            return controller::kOutputPatternLimit;
        case Quantity::Label:
        case Quantity::Statement:
        case Quantity::Comment:
            break;
    }
    return std::nullopt;
}

// Why a value is refused, in the operator's words; empty when it is taken.
QString refusal(const ValueColumn& value, const QString& text) {
    const std::optional<controller::Limit> limit = limitOf(value.quantity);
    if (!limit) {
        return {};
    }
    const controller::Verdict verdict = controller::judge(text.toStdString(), *limit);
    if (value.quantity == Quantity::LoopCount) {
        if (verdict == controller::Verdict::OutOfRange &&
            controller::readNumber(text.toStdString()) > 1) {
            return Texts::tr("迴圈次數 \"%1\" 超過本工具的安全上限 %2")
                .arg(text, number(limit->high));
        }
        return verdict == controller::Verdict::Accepted
                   ? QString()
                   : Texts::tr("迴圈次數 \"%1\" 不是 1 以上的整數").arg(text);
    }
    const QString name = QCoreApplication::translate("RowKinds", value.name);
    switch (verdict) {
        case controller::Verdict::Accepted:
            break;
        case controller::Verdict::NotANumber:
            return Texts::tr("%1的值 \"%2\" 不是數字").arg(name, text);
        case controller::Verdict::NotWhole:
            return Texts::tr("%1的值 \"%2\" 不是整數").arg(name, text);
        case controller::Verdict::OutOfRange:
            return (limit->safeLimit ? Texts::tr("%1的值 \"%2\" 不在本工具的安全範圍 %3 到 %4 之間")
                                     : Texts::tr("%1的值 \"%2\" 不在 %3 到 %4 之間"))
                .arg(name, text, number(limit->low), number(limit->high));
    }
    return {};
}

// The finding a fault of the controller model is.
FindingKind findingOf(controller::FaultKind fault) {
    switch (fault) {
        case controller::FaultKind::BadValue:
            return FindingKind::StatementValue;
        case controller::FaultKind::NoSuchLabel:
            return FindingKind::NoSuchLabel;
        case controller::FaultKind::CallsTooDeep:
            return FindingKind::CallsTooDeep;
        case controller::FaultKind::Recursion:
            return FindingKind::MayRecurse;
        case controller::FaultKind::CallChainTooDeep:
            return FindingKind::CallChainTooDeep;
        case controller::FaultKind::LineTooLong:
            return FindingKind::LineTooLong;
        case controller::FaultKind::ProgramTooLong:
            return FindingKind::TooManyLines;
        case controller::FaultKind::Unknown:
            break;
    }
    return FindingKind::UnknownStatement;
}

FindingKind findingOf(Refusal refusal) {
    switch (refusal) {
        case Refusal::LoopPairing:
            return FindingKind::LoopPairing;
        case Refusal::TooManyLoops:
            return FindingKind::TooManyLoops;
        case Refusal::TooManyLines:
            return FindingKind::TooManyLines;
        case Refusal::None:
        case Refusal::ControlCharacter:
            break;
    }
    return FindingKind::ControlCharacter;
}

// The controller text as the line carries it.
std::vector<std::string> lineBytes(const QStringList& text) {
    std::vector<std::string> lines;
    lines.reserve(size_t(text.size()));
    for (const QString& line : text) {
        lines.push_back(encodeBig5(line).value_or(line.toUtf8()).toStdString());
    }
    return lines;
}

// The checks of one program, row by row and then on the controller text, errors and
// warnings collected in the order they are found.
class Checker {
public:
    Checker(const ProgramTable& table, int RowCounter)
        : m_table(table),
          m_last(std::clamp(RowCounter, 0, kMaxProgramRows)),
          m_text(translateLeniently(table, m_last)) {}

    std::vector<Finding> findings() {
        checkTranslation();
        findLabelsAndCalls();
        for (int i = 1; i <= m_last; ++i) {
            checkText(i);
            checkValues(i);
            checkFlow(i);
        }
        checkControllerFaults();
        std::stable_sort(m_findings.begin(), m_findings.end(),
                         [](const Finding& a, const Finding& b) {
                             return a.row != b.row ? a.row < b.row : a.severity < b.severity;
                         });
        return m_findings;
    }

private:
    void error(int row, FindingKind kind, const QString& message) {
        m_findings.push_back({row, Severity::Error, kind, message});
    }
    void warning(int row, FindingKind kind, const QString& message) {
        m_findings.push_back({row, Severity::Warning, kind, message});
    }

    // A control character is found below in every row that holds one, not only the first.
    void checkTranslation() {
        const Translation translation = TranslateProgram(m_table, m_last);
        if (!translation.ok() && translation.refusal != Refusal::ControlCharacter) {
            error(translation.errorRow, findingOf(translation.refusal), translation.error());
        }
        for (qsizetype n = 0; n < m_text.ControllerText.size(); ++n) {
            const int row = m_text.LineRows[size_t(n)];
            if (holdsControlCharacter(m_text.ControllerText[n]) && m_garbled.insert(row).second) {
                error(row, FindingKind::ControlCharacter, refusalText(Refusal::ControlCharacter));
            }
        }
    }

    void findLabelsAndCalls() {
        std::map<QString, int> labels;  // name → the row defining it first
        for (int i = 1; i <= m_last; ++i) {
            const Row& row = m_table[i];
            if (hasTrait(row, DefinesLabel)) {
                if (const auto [at, fresh] = labels.try_emplace(row[1], i); !fresh) {
                    error(i, FindingKind::DuplicateLabel,
                          Texts::tr("標籤 \"%1\" 已在第 %2 列定義過").arg(row[1]).arg(at->second));
                }
            }
            m_calls = m_calls || hasTrait(row, Calls);
        }
    }

    void checkText(int i) {
        for (const QString& cell : m_table[i]) {
            if (!encodeBig5(cell)) {
                error(i, FindingKind::NotBig5, Texts::tr("有 Big5 無法表示的字元"));
                m_garbled.insert(i);
                return;
            }
        }
        // One in the text the row sends is an error above; one in a column never sent only
        // makes the file hard to read back in another editor.
        if (!m_garbled.contains(i) && holdsControlCharacter(m_table[i])) {
            warning(i, FindingKind::ControlCharacterInNote,
                    Texts::tr("附註含有控制字元: 不會送到控制器, 但其他編輯器可能無法照原樣讀回"));
        }
    }

    void checkValues(int i) {
        const Row& row = m_table[i];
        const RowKind* kind = rowKind(row[0]);
        if (kind == nullptr) {
            warning(i, FindingKind::UnknownKeyword,
                    Texts::tr("不認得的關鍵字 \"%1\", 這一列不會送到控制器").arg(row[0]));
            return;
        }
        if (kind->lines[0] == nullptr) {
            warning(i, FindingKind::NotTranslated,
                    Texts::tr("%1 列不會轉換成控制器的指令").arg(row[0]));
            return;
        }
        for (const ValueColumn& value : kind->values) {
            const QString& cell = row[value.column];
            if (const QString why = refusal(value, cell); !why.isEmpty()) {
                error(i, FindingKind::BadValue, why);
                m_valueErrors.insert(i);
            } else if (value.quantity == Quantity::Output &&
                       controller::readNumber(cell.toStdString()) > controller::kWiredOutputs) {
                warning(i, FindingKind::UnwiredOutput,
                        Texts::tr("輸出 \"%1\" 不在 1 到 %2 之間, 控制器可能沒有這個輸出")
                            .arg(cell)
                            .arg(controller::kWiredOutputs));
            }
        }
    }

    // What the order of the rows says: moves before any speed, returns nothing calls,
    // rows after a jump that nothing jumps to.
    void checkFlow(int i) {
        const Row& row = m_table[i];
        const RowKind* kind = rowKind(row[0]);
        const auto is = [kind](RowTrait trait) { return kind != nullptr && kind->is(trait); };
        if (is(SetsSpeed)) {
            if (controller::readNumber(row[1].toStdString()) == 0.0) {
                warning(i, FindingKind::ZeroSpeed, Texts::tr("速度為 0, 之後的移動不會動"));
            }
            m_speedSet = true;
        }
        if (is(MovesAtSpeed) && !m_speedSet) {
            warning(i, FindingKind::MoveBeforeSpeed, Texts::tr("移動之前沒有設定速度"));
        }
        if (is(Returns) && !m_calls) {
            warning(i, FindingKind::ReturnWithoutCall, Texts::tr("沒有任何呼叫會回到這個返回"));
        }
        if (is(DefinesLabel)) {
            m_afterJump = false;
        } else if (m_afterJump) {
            warning(i, FindingKind::Unreachable, Texts::tr("跳至標籤之後, 沒有任何跳躍會到這一列"));
            m_afterJump = false;  // once for the whole unreachable stretch
        }
        if (is(JumpsAlways)) {
            m_afterJump = true;
        }
    }

    // What the controller itself refuses in the text: labels no line defines, calls that
    // pile up, lines too long, and what a custom step says.
    void checkControllerFaults() {
        for (const controller::Fault& fault :
             controller::staticFaults(lineBytes(m_text.ControllerText))) {
            const int row = m_text.LineRows.at(fault.line - 1);
            // A program beyond the controller's memory is beyond 1001 lines: the
            // translation's refusal says it.
            if (row == 0 || m_garbled.contains(row) ||
                fault.kind == controller::FaultKind::ProgramTooLong ||
                (fault.kind == controller::FaultKind::BadValue && m_valueErrors.contains(row))) {
                continue;
            }
            // What may yet work out, or what the model merely does not know, is a warning.
            const bool doubt = fault.kind == controller::FaultKind::Unknown ||
                               fault.kind == controller::FaultKind::Recursion;
            m_findings.push_back({row, doubt ? Severity::Warning : Severity::Error,
                                  findingOf(fault.kind), faultText(fault, m_table[row])});
        }
    }

    const ProgramTable& m_table;
    const int m_last;
    const Translation m_text;  // translated leniently: every line, where it arises
    std::vector<Finding> m_findings;
    std::set<int> m_garbled;      // rows whose text cannot reach the controller as it stands
    std::set<int> m_valueErrors;  // rows with a value refused above
    bool m_calls = false;
    bool m_speedSet = false;
    bool m_afterJump = false;
};

}  // namespace

std::vector<Finding> CheckProgram(const ProgramTable& table, int RowCounter) {
    return Checker(table, RowCounter).findings();
}

bool refusedByTranslator(FindingKind kind) {
    switch (kind) {
        case FindingKind::LoopPairing:
        case FindingKind::TooManyLoops:
        case FindingKind::TooManyLines:
        case FindingKind::ControlCharacter:
        case FindingKind::NotBig5:
            return true;
        default:
            return false;
    }
}

QString formatFinding(const Finding& finding) {
    return Texts::tr("第 %1 列: %2: %3")
        .arg(finding.row)
        .arg(finding.severity == Severity::Error ? Texts::tr("錯誤") : Texts::tr("警告"),
             finding.message);
}

}  // namespace tql
