#include "translator/translator.h"

#include "link/link.h"

#include <algorithm>
#include <vector>

namespace tql {
namespace {

// Loop k owns the counter "#Lk" and the label "$LOOPk"; k is its place among all loops,
// whatever its nesting depth, written as a number with every space removed (S).
QString loopCounter(int k) {
    return "#L" + S(QString::number(k));
}
QString loopLabel(int k) {
    return "$LOOP" + S(QString::number(k));
}

// The lines of one row other than the loops; f1 and f2 go out exactly as stored.
QStringList rowLines(const Row& row) {
    const QString& keyword = row[0];
    const QString& f1 = row[1];
    const QString& f2 = row[2];
    if (keyword == u"POINT")
        return {"MA " + f2 + ";", "DN;"};
    if (keyword == u"MR")
        return {"MR " + f2 + ";", "DN;"};
    if (keyword == u"VM")
        return {"VM=" + f1 + ";"};
    if (keyword == u"WT")
        return {"WT " + f1 + ";", "DN;"};
    if (keyword == u"HOME")
        return {"H;", "DN;"};
    if (keyword == u"CS")
        return {"CS 0 0;"};
    if (keyword == u"STEP")
        return {f1 + ";"};
    if (keyword == u"LABLE")
        return {"$" + f1 + ":;"};
    if (keyword == u"GLABLE")
        return {"JP $" + f1 + ";"};
    if (keyword == u"CALL")
        return {"CALL $" + f1 + ";"};
    if (keyword == u"RET")
        return {"RET;"};
    if (keyword == u"IN+")
        return {"WI " + f1 + ";"};
    if (keyword == u"IN-")
        return {"WNI " + f1 + ";"};
    if (keyword == u"IN+J")
        return {"JI " + f1 + ",$" + f2 + ";"};
    if (keyword == u"IN-J")
        return {"JNI " + f1 + ",$" + f2 + ";"};
    if (keyword == u"IN+C")
        return {"CI " + f1 + ",$" + f2 + ";"};
    if (keyword == u"IN-C")
        return {"CNI " + f1 + ",$" + f2 + ";"};
    if (keyword == u"OUTP")
        return {"OUTP " + f1 + ";"};
    if (keyword == u"SETP")
        return {"SET P" + f1 + ";"};
    if (keyword == u"CLRP")
        return {"CLR P" + f1 + ";"};
    if (keyword == u"PULSE") {
        return {"SET P" + f1 + ";", "WT " + f2 + ";", "DN;", "CLR P" + f1 + ";"};
    }
    if (keyword == u"PULSE-") {
        return {"CLR P" + f1 + ";", "WT " + f2 + ";", "DN;", "SET P" + f1 + ";"};
    }
    return {};  // LINE, ARC, CIR, IN and unknown keywords give nothing
}

Translation refusal(const QString& message, int row) {
    return {{}, {}, message, row};
}

}  // namespace

QString loopPairingError() {
    return QStringLiteral("迴圈數目未成對!");
}
QString tooManyLoopsError() {
    return QStringLiteral("迴圈數目超過50個!");
}
QString tooManyLinesError() {
    return QStringLiteral("程式超過1001行!");
}

Translation TranslateProgram(const ProgramTable& table, int RowCounter) {
    const int last = std::clamp(RowCounter, 0, kMaxProgramRows);
    // Every loop end closes the latest open loop; an end with none open, or a loop never
    // closed, is the pairing error, named at its row.
    std::vector<int> unclosed;
    int loops = 0;
    int firstTooMany = 0;
    for (int i = 1; i <= last; ++i) {
        if (table[i][0] == u"LOOP") {
            unclosed.push_back(i);
            if (++loops == kMaxLoops + 1) {
                firstTooMany = i;
            }
        } else if (table[i][0] == u"LOOPEND") {
            if (unclosed.empty()) {
                return refusal(loopPairingError(), i);
            }
            unclosed.pop_back();
        }
    }
    if (!unclosed.empty()) {
        return refusal(loopPairingError(), unclosed.back());
    }
    if (firstTooMany != 0) {
        return refusal(tooManyLoopsError(), firstTooMany);
    }

    QStringList text = {"{", "CLR VAR;"};
    for (int k = 1; k <= loops; ++k) {
        text << "SI " + loopCounter(k) + ";";
    }
    std::vector<int> rows(size_t(text.size()), 0);
    int ordinal = 0;
    std::vector<int> openLoops;
    for (int i = 1; i <= last; ++i) {
        const Row& row = table[i];
        if (row[0] == u"LOOP") {
            openLoops.push_back(++ordinal);
            text << loopCounter(ordinal) + "=" + row[1] + ";" << loopLabel(ordinal) + ":;";
        } else if (row[0] == u"LOOPEND") {
            const int k = openLoops.back();  // paired above
            openLoops.pop_back();
            text << loopCounter(k) + "=" + loopCounter(k) + "-1;"
                 << "JNZ " + loopCounter(k) + "," + loopLabel(k) + ";";
        } else {
            text << rowLines(row);
        }
        if (text.size() + 1 > kMaxControllerLines) {
            return refusal(tooManyLinesError(), i);
        }
        rows.resize(size_t(text.size()), i);
    }
    text << "}";
    rows.push_back(0);
    return {text, rows, {}};
}

}  // namespace tql
