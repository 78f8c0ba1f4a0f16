#include "dialogs/outputrows.h"

namespace tql {

Row outputRow(const OutputChoice& c) {
    if (c.allOutputs) {
        int value = 0;
        for (int n = 0; n < 4; ++n) {
            value += c.bits[n] ? 1 << n : 0;
        }
        return {"OUTP", QString::number(value), "ALL-P", "-", "-"};
    }
    if (c.pulse) {
        return {c.on ? "PULSE" : "PULSE-", c.output, c.pulseTime, c.on ? "ON-P" : "OFF-P", "-"};
    }
    return {c.on ? "SETP" : "CLRP", c.output, c.on ? "ON" : "OFF", "-", "-"};
}

std::array<bool, 4> READOUT(int value, std::array<bool, 4> boxes) {
    if (value < 1) {
        return boxes;
    }
    for (int n = 3; n >= 0; --n) {
        const int weight = 1 << n;
        boxes[n] = value >= weight;
        if (boxes[n]) {
            value -= weight;
        }
    }
    return boxes;
}

OutputChoice outputChoiceOf(const Row& row) {
    OutputChoice c;
    const QString& keyword = row[0];
    if (keyword == u"OUTP") {
        c.allOutputs = true;
        bool whole = false;
        const int value = row[1].toInt(&whole);
        if (whole && value >= 0 && value <= 15) {
            c.bits = READOUT(value, c.bits);
        }
        return c;
    }
    if (keyword == u"CLRP" || keyword == u"PULSE-") {
        c.on = false;
    }
    if (keyword == u"PULSE" || keyword == u"PULSE-") {
        c.pulse = true;
        c.pulseTime = row[2];
    }
    c.output = row[1];
    return c;
}

}  // namespace tql
