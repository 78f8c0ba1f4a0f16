#include "session/fieldtext.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <cmath>

namespace tql {
namespace {

// The operator's texts here, in the language the tool runs in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(Console)
};

}  // namespace

QString teachReading(const QString& text) {
    const QStringList replies = text.split(u'\r');
    // After a final CR the split ends in an empty piece; the reply before it is complete.
    const qsizetype last = replies.size() >= 2 ? replies.size() - 2 : 0;
    return replies[last].trimmed();
}

std::optional<double> positionIn(const QString& reply) {
    const QString reading = teachReading(reply);
    if (!isNumberText(reading)) {
        return std::nullopt;
    }
    return QLocale::c().toDouble(reading.trimmed());
}

std::optional<QString> jogTarget(const QString& lastRead, const QString& step, bool up) {
    const QString position = teachReading(lastRead);
    if (!isNumberText(position) || !isNumberText(step)) {
        return std::nullopt;
    }
    const double target = QLocale::c().toDouble(position.trimmed()) +
                          (up ? 1 : -1) * QLocale::c().toDouble(step.trimmed());
    // Rounded to the micrometre, so 12.5 + 0.1 reads 12.6, not 12.600000000000001.
    return QString::number(std::round(target * 1e6) / 1e6, 'f', 6)
        .remove(QRegularExpression(QStringLiteral("\\.?0+$")));
}

bool isNumberText(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)\\s*$"));
    return number.match(text).hasMatch();
}

QString notNumberMessage(const QString& value) {
    return Texts::tr("「%1」不是數字, 指令未送出!").arg(value);
}

}  // namespace tql
