#include "window/rowicons.h"

#include "program/rowkinds.h"

#include <QApplication>
#include <QFont>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <cmath>

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

// Drawn at the size asked, so a screen at 150 % or 200 % gets the picture at its own pixels
// rather than the 16 x 15 one enlarged.
class RowIconEngine final : public QIconEngine {
public:
    explicit RowIconEngine(const RowKind& kind) : m_kind(kind) {}

    // Through a picture of the painter's own pixels, so it blends with a row's background
    // as any pixmap does.
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap picture = pixmap(rect.size() * ratio, mode, state);
        picture.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), picture);
    }

    // Selected or disabled rows get the picture as the style alters any icon's for them.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        draw(pixmap);
        if (mode == QIcon::Normal) {
            return pixmap;
        }
        QStyleOption option;
        option.palette = QGuiApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
    }

    // 16 x 15 at most, as the list asks it; smaller where less room is given.
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const QSize design(16, 15);
        return size.width() >= 16 && size.height() >= 15 ? design
                                                         : design.scaled(size, Qt::KeepAspectRatio);
    }

    QIconEngine* clone() const override { return new RowIconEngine(m_kind); }

private:
    void draw(QPixmap& pixmap) const {
        const QSizeF size = pixmap.size();
        const double scale = std::min(size.width() / 16, size.height() / 15);
        const QRectF box((size.width() - 16 * scale) / 2, (size.height() - 15 * scale) / 2,
                         16 * scale, 15 * scale);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgba(colourOf(m_kind.family)));
        painter.drawRoundedRect(box.adjusted(0.5 * scale, 0.5 * scale, -0.5 * scale, -0.5 * scale),
                                3 * scale, 3 * scale);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(std::max(1, int(std::lround(8 * scale))));
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(box, Qt::AlignCenter, QString::fromLatin1(m_kind.mark));
    }

    const RowKind& m_kind;
};

}  // namespace

QIcon rowIcon(int number) {
    if (number < 1 || number > kRowKinds) {
        return {};
    }
    return QIcon(new RowIconEngine(rowKinds()[size_t(number - 1)]));
}

}  // namespace tql
