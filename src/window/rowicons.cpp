#include "window/rowicons.h"

#include "program/rowkinds.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace tql {
namespace {

// Colour by family: moves blue, timing orange, program flow purple, homing and coordinates
// teal, outputs red, inputs green, free text grey.
QRgb colourOf(RowFamily family) {
    switch (family) {
        case RowFamily::Move:
            return 0xff2f6db5;
        case RowFamily::Timing:
            return 0xffd9821e;
        case RowFamily::Flow:
            return 0xff7a4fb0;
        case RowFamily::Home:
            return 0xff1f8a8a;
        case RowFamily::Output:
            return 0xffc0392b;
        case RowFamily::Input:
            return 0xff2e8b3e;
        case RowFamily::Text:
            break;
    }
    return 0xff6b6b6b;
}

QPixmap drawIcon(const RowKind& kind) {
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(colourOf(kind.family)));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 14), 3, 3);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(8);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 16, 15), Qt::AlignCenter, QString::fromLatin1(kind.mark));
    return pixmap;
}

}  // namespace

QIcon rowIcon(int number) {
    if (number < 1 || number > kRowKinds) {
        return {};
    }
    return QIcon(drawIcon(rowKinds()[size_t(number - 1)]));
}

}  // namespace tql
