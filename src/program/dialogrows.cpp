#include "program/dialogrows.h"

#include "program/rowkinds.h"

namespace tql {

Row relativeMoveRow(const QString& distance) {
    return makeRow(RowKindId::RelativeMove, {distance});
}

QString STRIM(const QString& text) {
    QString kept;
    bool minusAllowed = true;
    for (const QChar c : text) {
        const bool numeric = (c >= u'0' && c <= u'9') || c == u'.';
        if (numeric) {
            kept += c;
            minusAllowed = false;
        } else if (c == u'-' && minusAllowed) {
            kept += c;
            minusAllowed = false;
        }
    }
    return kept == u"-" ? QString() : kept;
}

Row absoluteMoveRow(const QString& target) {
    return makeRow(RowKindId::AbsoluteMove, {STRIM(target)});
}

Row customStepRow(const QString& step, const QString& comment) {
    return makeRow(RowKindId::CustomStep, {step, comment});
}

Row speedRow(const QString& speed) {
    return makeRow(RowKindId::Speed, {speed});
}

}  // namespace tql
