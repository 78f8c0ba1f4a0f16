#include "translator/translator.h"

#include "program/rowkinds.h"

#include <QCoreApplication>
#include <algorithm>
#include <optional>
#include <vector>

namespace tql {
namespace {

// The operator's texts here, in the language the tool runs in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(Translator)
};

// Loop k owns the counter "#Lk" and the label "$LOOPk"; k is its place among all loops,
// whatever its nesting depth, written as a number with every space removed (S).
QString loopCounter(int k) {
    return "#L" + S(QString::number(k));
}
QString loopLabel(int k) {
    return "$LOOP" + S(QString::number(k));
}

// One line of a row kind's lines: the placeholders get the columns exactly as stored and
// the loop's names; nothing put in is read again, so a column holding "{2}" stays "{2}".
QString expand(QStringView pattern, const Row& row, int loop) {
    QString line;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'{' && i + 2 < pattern.size() && pattern[i + 2] == u'}') {
            const QChar what = pattern[i + 1];
            if (what == u'1' || what == u'2') {
                line += row[what == u'1' ? 1 : 2];
            } else {
                line += what == u'C' ? loopCounter(loop) : loopLabel(loop);
            }
            i += 2;
        } else {
            line += pattern[i];
        }
    }
    return line;
}

QStringList rowLines(const RowKind& kind, const Row& row, int loop) {
    QStringList lines;
    for (const char16_t* pattern : kind.lines) {
        if (pattern != nullptr) {
            lines << expand(QStringView(pattern), row, loop);
        }
    }
    return lines;
}

Translation refusal(Refusal kind, int row) {
    Translation refused;
    refused.refusal = kind;
    refused.errorRow = row;
    return refused;
}

// Every loop end closes the latest open loop; an end with none open, or a loop never
// closed, is the pairing error, named at its row.
struct LoopPairing {
    int loops = 0;
    int firstTooMany = 0;  // the row of loop 51, if any
    int unopened = 0;      // the first loop end with no loop open
    int unclosed = 0;      // the last loop never closed
};

LoopPairing pairLoops(const ProgramTable& table, int last) {
    LoopPairing pairing;
    std::vector<int> open;
    for (int i = 1; i <= last; ++i) {
        if (hasTrait(table[i], OpensLoop)) {
            open.push_back(i);
            if (++pairing.loops == kMaxLoops + 1) {
                pairing.firstTooMany = i;
            }
        } else if (hasTrait(table[i], ClosesLoop)) {
            if (open.empty()) {
                pairing.unopened = pairing.unopened == 0 ? i : pairing.unopened;
            } else {
                open.pop_back();
            }
        }
    }
    pairing.unclosed = open.empty() ? 0 : open.back();
    return pairing;
}

std::optional<Translation> pairingRefusal(const LoopPairing& pairing) {
    if (pairing.unopened != 0) {
        return refusal(Refusal::LoopPairing, pairing.unopened);
    }
    if (pairing.unclosed != 0) {
        return refusal(Refusal::LoopPairing, pairing.unclosed);
    }
    if (pairing.firstTooMany != 0) {
        return refusal(Refusal::TooManyLoops, pairing.firstTooMany);
    }
    return std::nullopt;
}

Translation translate(const ProgramTable& table, int RowCounter, bool lenient) {
    const int last = std::clamp(RowCounter, 0, kMaxProgramRows);
    const LoopPairing pairing = pairLoops(table, last);
    if (!lenient) {
        if (std::optional<Translation> refused = pairingRefusal(pairing)) {
            return *refused;
        }
    }
    QStringList text = {"{", "CLR VAR;"};
    for (int k = 1; k <= pairing.loops; ++k) {
        text << "SI " + loopCounter(k) + ";";
    }
    std::vector<int> rows(size_t(text.size()), 0);
    int ordinal = 0;
    std::vector<int> openLoops;
    std::vector<TranslatedLoop> loops;
    for (int i = 1; i <= last; ++i) {
        const Row& row = table[i];
        const RowKind* kind = rowKind(row[0]);
        if (kind == nullptr) {
            continue;  // an unknown keyword gives nothing
        }
        int loop = 0;
        if (kind->is(OpensLoop)) {
            openLoops.push_back(loop = ++ordinal);
            loops.push_back({i, loopCounter(loop)});
        } else if (kind->is(ClosesLoop)) {
            if (openLoops.empty()) {
                continue;  // paired above, or lenient
            }
            loop = openLoops.back();
            openLoops.pop_back();
        }
        const QStringList lines = rowLines(*kind, row, loop);
        if (!lenient && std::any_of(lines.begin(), lines.end(), [](const QString& line) {
                return holdsControlCharacter(line);
            })) {
            return refusal(Refusal::ControlCharacter, i);
        }
        text << lines;
        if (!lenient && text.size() + 1 > kMaxControllerLines) {
            return refusal(Refusal::TooManyLines, i);
        }
        rows.resize(size_t(text.size()), i);
    }
    text << "}";
    rows.push_back(0);
    return {text, rows, loops};
}

}  // namespace

QString refusalText(Refusal refusal) {
    switch (refusal) {
        case Refusal::None:
            break;
        case Refusal::LoopPairing:
            return Texts::tr("迴圈數目未成對!");
        case Refusal::TooManyLoops:
            return Texts::tr("迴圈數目超過50個!");
        case Refusal::TooManyLines:
            return Texts::tr("程式超過1001行!");
        case Refusal::ControlCharacter:
            return Texts::tr("含有控制字元 (如 CR 或 ESC), 不能送到控制器!");
    }
    return {};
}

QString S(const QString& text) {
    QString result = text;
    result.remove(u' ');
    return result;
}

QString Translation::error() const {
    return refusalText(refusal);
}

QString Translation::namedError() const {
    return errorRow > 0 ? Texts::tr("第 %1 列: %2").arg(errorRow).arg(error()) : error();
}

Translation TranslateProgram(const ProgramTable& table, int RowCounter) {
    return translate(table, RowCounter, false);
}

Translation translateLeniently(const ProgramTable& table, int RowCounter) {
    return translate(table, RowCounter, true);
}

}  // namespace tql
