#include "link/console.h"

#include "link/commands.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>

namespace tql {

using namespace commands;

void stopControllerProgram(Link& link) {
    link.write(QString(QChar(kEscape)));
    link.write(QString(QChar(kEscape)));
}

void startStoredProgram(Link& link) {
    link.writeLine(kHoldOn);
    link.sleep(kBeforeGoWait);
    link.writeLine(kGo);
}

bool probeController(Link& link) {
    link.write(kProbe + QChar(kCarriageReturn));
    link.sleep(kProbeWait);
    return !link.readBytes().isEmpty();
}

void greetController(Link& link) {
    stopControllerProgram(link);
    link.writeLine(kEchoOff);
    link.writeLine(kHoldOn);
    link.sleep(kProbeWait);
    link.readAll();
    link.readAll();
}

InternalValues readInternalValues(Link& link) {
    InternalValues values;
    values.acceleration = link.query(kQueryAcceleration, kQueryWait);
    values.speed = link.query(kQuerySpeed, kQueryWait);
    return values;
}

PollReading pollPositionAndInputs(Link& link) {
    PollReading reading;
    reading.position = link.query(kQueryPosition, kQueryWait);
    link.readAll();
    link.write(kQueryInputs);
    link.writeCarriageReturn();
    link.sleep(kQueryWait);
    reading.inputs = inputIndicators(inputWord(link.readAll()));
    return reading;
}

void syncOutputs(Link& link, const OutputStates& wanted, OutputStates& sent) {
    for (int k = 0; k < kOutputs; ++k) {
        const QString output = QString::number(k + 1);
        if (!sent[k] && wanted[k]) {
            link.write(kSetOutput + output);
            link.writeCarriageReturn();
            sent[k] = true;
        }
        if (sent[k] && !wanted[k]) {
            link.write(kClearOutput + output);
            link.writeCarriageReturn();
            sent[k] = false;
        }
    }
}

namespace {

// The value of one digit in the radix, or -1.
int digitValue(QChar c, int radix) {
    bool ok = false;
    const int value = QString(c).toInt(&ok, radix);
    return ok ? value : -1;
}

// "&H1F", "&O17": hexadecimal and octal, up to the first character that is no digit.
double prefixedNumber(const QString& text) {
    const QChar prefix = text[1].toUpper();
    const int radix = prefix == u'H' ? 16 : prefix == u'O' ? 8 : 0;
    if (radix == 0) {
        return 0;
    }
    double value = 0;
    for (qsizetype i = 2; i < text.size() && digitValue(text[i], radix) >= 0; ++i) {
        value = value * radix + digitValue(text[i], radix);
    }
    return value;
}

// The length of the longest prefix shaped as sign, digits, point, digits, exponent (E or
// D); 0 when it holds no digit.
qsizetype decimalPrefix(const QString& text) {
    const auto digitsFrom = [&](qsizetype at) {
        while (at < text.size() && text[at].isDigit() && text[at].unicode() < 128) {
            ++at;
        }
        return at;
    };
    const auto signFrom = [&](qsizetype at) {
        return at < text.size() && (text[at] == u'+' || text[at] == u'-') ? at + 1 : at;
    };
    const qsizetype intStart = signFrom(0);
    qsizetype i = digitsFrom(intStart);
    bool anyDigit = i > intStart;
    if (i < text.size() && text[i] == u'.') {
        const qsizetype fracEnd = digitsFrom(i + 1);
        anyDigit = anyDigit || fracEnd > i + 1;
        i = fracEnd;
    }
    if (!anyDigit) {
        return 0;
    }
    if (i < text.size() && QStringLiteral("EeDd").contains(text[i])) {
        const qsizetype e = signFrom(i + 1);
        if (const qsizetype expEnd = digitsFrom(e); expEnd > e) {
            return expEnd;
        }
    }
    return i;
}

// from_chars reads the same under every locale, unlike strtod; it takes a minus sign only.
double decimal(QByteArray number) {
    number.replace('D', 'E').replace('d', 'e');
    if (number.startsWith('+')) {
        number.remove(0, 1);
    }
    double value = 0;
    const auto [rest, error] = std::from_chars(number.constBegin(), number.constEnd(), value);
    if (error == std::errc::result_out_of_range) {
        const bool tiny = number.contains("e-") || number.contains("E-");
        return tiny ? 0.0 : number.startsWith('-') ? -HUGE_VAL : HUGE_VAL;
    }
    return error == std::errc() && rest != number.constBegin() ? value : 0;
}

double leadingNumber(const QString& reply) {
    QString text;
    for (const QChar c : reply) {
        if (c != u' ' && c != u'\t' && c != u'\n') {
            text += c;
        }
    }
    if (text.size() >= 2 && text[0] == u'&') {
        return prefixedNumber(text);
    }
    const qsizetype end = decimalPrefix(text);
    return end == 0 ? 0 : decimal(text.left(end).toLatin1());
}

}  // namespace

int inputWord(const QString& reply) {
    const double value = leadingNumber(reply);
    if (std::isnan(value)) {
        return 0;
    }
    const int previousMode = std::fegetround();
    std::fesetround(FE_TONEAREST);  // halves to the even neighbour
    const double rounded = std::nearbyint(value);
    std::fesetround(previousMode);
    constexpr double kMax = std::numeric_limits<int>::max();
    constexpr double kMin = std::numeric_limits<int>::min();
    return rounded >= kMax ? int(kMax) : rounded <= kMin ? int(kMin) : int(rounded);
}

InputStates inputIndicators(int word) {
    return switchesOf<kInputs>(word);
}

}  // namespace tql
