#include "program/outputrows.h"

#include "program/rowkinds.h"
#include "program/switches.h"

#include <QRegularExpression>

#include <algorithm>

namespace tql {

Row outputRow(const OutputChoice& c) {
    if (c.allOutputs) {
        int value = 0;
        for (int n = 0; n < kOutputs; ++n) {
            value += c.bits[n] ? 1 << n : 0;
        }
        return makeRow(RowKindId::OutputPattern, {QString::number(value)});
    }
    if (c.pulse) {
        return makeRow(c.on ? RowKindId::PulseOn : RowKindId::PulseOff, {c.output, c.pulseTime});
    }
    return makeRow(c.on ? RowKindId::OutputOn : RowKindId::OutputOff, {c.output});
}

OutputStates READOUT(int value, OutputStates boxes) {
    return value < 1 ? boxes : switchesOf<4>(value);
}

OutputChoice outputChoiceOf(const Row& row) {
    OutputChoice c;
    if (isKind(row, RowKindId::OutputPattern)) {
        c.allOutputs = true;
        // A whole number beyond the int range is still "above 15": all four boxes.
        bool whole = false;
        const qlonglong value = row[1].toLongLong(&whole);
        static const QRegularExpression digits(QStringLiteral("^\\+?[0-9]+$"));
        if (whole) {
            c.bits = READOUT(int(std::clamp<qlonglong>(value, -1, 16)), c.bits);
        } else if (digits.match(row[1]).hasMatch()) {
            c.bits = READOUT(16, c.bits);
        }
        return c;
    }
    const bool pulseOff = isKind(row, RowKindId::PulseOff);
    if (pulseOff || isKind(row, RowKindId::OutputOff)) {
        c.on = false;
    }
    if (pulseOff || isKind(row, RowKindId::PulseOn)) {
        c.pulse = true;
        c.pulseTime = row[2];
    }
    c.output = row[1];
    return c;
}

}  // namespace tql
