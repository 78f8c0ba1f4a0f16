#include "program/dialogrows.h"

namespace tql {

Row relativeMoveRow(const QString& distance) {
    return {"MR", "相對移動", distance, "-", "-"};
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
    return {"POINT", "絕對移動", STRIM(target), "-", "-"};
}

Row customStepRow(const QString& step, const QString& comment) {
    return {"STEP", step, comment, "自設", "-"};
}

Row speedRow(const QString& speed) {
    return {"VM", speed, "速度", "-", "-"};
}

}  // namespace tql
