#include "translator/programchecks.h"

#include "files/big5.h"
#include "link/console.h"
#include "translator/translator.h"

#include <QSet>

#include <algorithm>
#include <map>

namespace tql {
namespace {

bool isKeyword(const Row& row, std::initializer_list<const char16_t*> keywords) {
    return std::any_of(keywords.begin(), keywords.end(),
                       [&](const char16_t* k) { return row[0] == QStringView(k); });
}

// The label a jump or call names: column 1 for 跳至標籤 and 呼叫標籤, column 2 on an input.
std::optional<QString> labelUsed(const Row& row) {
    if (isKeyword(row, {u"GLABLE", u"CALL"})) {
        return row[1];
    }
    if (isKeyword(row, {u"IN+J", u"IN-J", u"IN+C", u"IN-C"})) {
        return row[2];
    }
    return std::nullopt;
}

bool isWholeAtLeastOne(const QString& text) {
    bool whole = false;
    const qlonglong n = text.trimmed().toLongLong(&whole);
    return whole && n >= 1;
}

// Which column holds a number the controller computes with, and what it is called.
std::optional<std::pair<int, QString>> numberColumn(const Row& row) {
    if (isKeyword(row, {u"POINT", u"MR"})) {
        return std::pair{2, QStringLiteral("移動")};
    }
    if (isKeyword(row, {u"VM"})) {
        return std::pair{1, QStringLiteral("速度")};
    }
    if (isKeyword(row, {u"WT"})) {
        return std::pair{1, QStringLiteral("延遲")};
    }
    if (isKeyword(row, {u"PULSE", u"PULSE-"})) {
        return std::pair{2, QStringLiteral("脈波時間")};
    }
    return std::nullopt;
}

}  // namespace

std::vector<Finding> CheckProgram(const ProgramTable& table, int RowCounter) {
    const int last = std::clamp(RowCounter, 0, kMaxProgramRows);
    std::vector<Finding> findings;
    const auto error = [&](int row, const QString& message, bool translator = false) {
        findings.push_back({row, Severity::Error, message, translator});
    };
    const auto warning = [&](int row, const QString& message) {
        findings.push_back({row, Severity::Warning, message, false});
    };

    const Translation translation = TranslateProgram(table, last);
    if (!translation.ok()) {
        error(translation.errorRow, translation.error, true);
    }

    std::map<QString, int> labels;  // name → the row defining it first
    bool calls = false;
    for (int i = 1; i <= last; ++i) {
        const Row& row = table[i];
        if (row[0] == u"LABLE") {
            if (const auto [at, fresh] = labels.try_emplace(row[1], i); !fresh) {
                error(i,
                      QStringLiteral("標籤 \"%1\" 已在第 %2 列定義過").arg(row[1]).arg(at->second));
            }
        }
        calls = calls || isKeyword(row, {u"CALL", u"IN+C", u"IN-C"});
    }

    bool speedSet = false;
    bool afterJump = false;
    for (int i = 1; i <= last; ++i) {
        const Row& row = table[i];
        for (const QString& cell : row) {
            if (!encodeBig5(cell)) {
                error(i, QStringLiteral("有 Big5 無法表示的字元"), true);
                break;
            }
        }
        if (const auto label = labelUsed(row); label && !labels.contains(*label)) {
            error(i, QStringLiteral("標籤 \"%1\" 不存在").arg(*label));
        }
        if (row[0] == u"LOOP" && !isWholeAtLeastOne(row[1])) {
            error(i, QStringLiteral("迴圈次數 \"%1\" 不是 1 以上的整數").arg(row[1]));
        }
        if (const auto column = numberColumn(row); column && !isNumberText(row[column->first])) {
            error(i,
                  QStringLiteral("%1的值 \"%2\" 不是數字").arg(column->second, row[column->first]));
        }
        if (row[0] == u"VM") {
            if (isNumberText(row[1]) && row[1].trimmed().toDouble() == 0) {
                warning(i, QStringLiteral("速度為 0, 之後的移動不會動"));
            }
            speedSet = true;
        }
        if (isKeyword(row, {u"POINT", u"MR"}) && !speedSet) {
            warning(i, QStringLiteral("移動之前沒有設定速度"));
        }
        if (row[0] == u"RET" && !calls) {
            warning(i, QStringLiteral("沒有任何呼叫會回到這個返回"));
        }
        if (row[0] == u"LABLE") {
            afterJump = false;
        } else if (afterJump) {
            warning(i, QStringLiteral("跳至標籤之後, 沒有任何跳躍會到這一列"));
            afterJump = false;  // once for the whole unreachable stretch
        }
        if (row[0] == u"GLABLE") {
            afterJump = true;
        }
    }
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        return a.row != b.row ? a.row < b.row : a.severity < b.severity;
    });
    return findings;
}

QString formatFinding(const Finding& finding) {
    return QStringLiteral("第 %1 列: %2: %3")
        .arg(finding.row)
        .arg(finding.severity == Severity::Error ? QStringLiteral("錯誤") : QStringLiteral("警告"),
             finding.message);
}

}  // namespace tql
