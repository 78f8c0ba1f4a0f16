#include "translator/faulttext.h"

#include "program/rowkinds.h"

#include <QCoreApplication>

namespace tql {
namespace {

// The operator's texts here, in the language the tool runs in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(ControllerFaults)
};

QString verdictText(controller::Verdict verdict) {
    switch (verdict) {
        case controller::Verdict::NotANumber:
            return Texts::tr("不是數字");
        case controller::Verdict::NotWhole:
            return Texts::tr("不是整數");
        case controller::Verdict::Accepted:
        case controller::Verdict::OutOfRange:
            break;
    }
    return Texts::tr("超出範圍");
}

// The label column of the row's kind, if it has one.
const QString* labelOf(const Row& row) {
    if (const RowKind* kind = rowKind(row[0])) {
        for (const ValueColumn& value : kind->values) {
            if (value.quantity == Quantity::Label) {
                return &row[value.column];
            }
        }
    }
    return nullptr;
}

}  // namespace

QString faultText(const controller::Fault& fault, const Row& row) {
    const QString statement = QString::fromStdString(fault.statement);
    switch (fault.kind) {
        case controller::FaultKind::BadValue:
            return Texts::tr("控制器不接受「%1」: 值%2").arg(statement, verdictText(fault.verdict));
        case controller::FaultKind::NoSuchLabel:
            if (const QString* label = labelOf(row)) {
                return Texts::tr("標籤 \"%1\" 不存在").arg(*label);
            }
            return Texts::tr("「%1」的標籤不存在").arg(statement);
        case controller::FaultKind::CallsTooDeep:
            return Texts::tr("呼叫超過 %1 層, 控制器在這裡停止").arg(controller::kMaxCallDepth);
        case controller::FaultKind::Recursion:
            return Texts::tr("這個呼叫還沒返回就可能再被呼叫, 超過 %1 層時控制器停止")
                .arg(controller::kMaxCallDepth);
        case controller::FaultKind::CallChainTooDeep:
            return Texts::tr("呼叫之中再呼叫, 一層套一層會超過 %1 層, 控制器會在這裡停止")
                .arg(controller::kMaxCallDepth);
        case controller::FaultKind::LineTooLong:
            return Texts::tr("轉換後的指令超過 %1 位元組, 控制器收不下")
                .arg(controller::kMaxLineLength);
        case controller::FaultKind::ProgramTooLong:
            return Texts::tr("程式超過 %1 行, 控制器收不下").arg(controller::kMaxProgramLines);
        case controller::FaultKind::Unknown:
            break;
    }
    return Texts::tr("模擬不認得「%1」, 模擬時略過").arg(statement);
}

}  // namespace tql
