#include "window/rowicons.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

#include <array>

namespace tql {
namespace {

struct IconLook {
    const char* mark;  // the controller mnemonic the row becomes, shortened
    QRgb color;
};

// Colour by family: moves blue, timing orange, program flow purple, homing and coordinates
// teal, outputs red, inputs green, free text grey.
constexpr QRgb kMove = 0xff2f6db5;
constexpr QRgb kTiming = 0xffd9821e;
constexpr QRgb kFlow = 0xff7a4fb0;
constexpr QRgb kHome = 0xff1f8a8a;
constexpr QRgb kOutput = 0xffc0392b;
constexpr QRgb kInput = 0xff2e8b3e;
constexpr QRgb kText = 0xff6b6b6b;

constexpr std::array<IconLook, 28> kLooks = {{
    {"MA", kMove},   {"LN", kMove},  {"AR", kMove},   {"CI", kMove},   {"VM", kTiming},
    {"WT", kTiming}, {"LP", kFlow},  {"LE", kFlow},   {"$:", kFlow},   {"JP", kFlow},
    {"H", kHome},    {"RT", kFlow},  {"IN", kInput},  {"OP", kOutput}, {"MR", kMove},
    {"0", kHome},    {"CL", kFlow},  {"S+", kOutput}, {"S-", kOutput}, {"P+", kOutput},
    {"P-", kOutput}, {"I+", kInput}, {"I-", kInput},  {"J+", kInput},  {"J-", kInput},
    {"C+", kInput},  {"C-", kInput}, {"ST", kText},
}};

QPixmap drawIcon(const IconLook& look) {
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(look.color));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 14), 3, 3);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(8);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 16, 15), Qt::AlignCenter, QString::fromLatin1(look.mark));
    return pixmap;
}

}  // namespace

QIcon rowIcon(int number) {
    if (number < 1 || number > int(kLooks.size())) {
        return {};
    }
    return QIcon(drawIcon(kLooks[number - 1]));
}

}  // namespace tql
