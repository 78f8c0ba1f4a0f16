#include "window/rowmarks.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

namespace tql {

void RowMarks::paint(QPainter* painter, const QStyleOptionViewItem& option,
                     const QModelIndex& index) const {
    if (index.column() != 0) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The row's background and selection span the whole cell; the icon and the number keep
    // clear of the marks.
    QStyleOptionViewItem whole = option;
    initStyleOption(&whole, index);
    const QStyle* style = option.widget != nullptr ? option.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &whole, painter, option.widget);
    QStyleOptionViewItem content = option;
    content.rect.setRight(option.rect.right() - kMarksRoom);
    QStyledItemDelegate::paint(painter, content, index);
    const QRectF cell = option.rect;
    const double size = std::min(cell.height() - 4, 9.0);
    const double middle = cell.center().y();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(Qt::white, 1));
    if (index.data(kBreakpointRole).toBool()) {
        painter->setBrush(QColor(200, 40, 40));
        painter->drawEllipse(QPointF(cell.right() - 3 - size / 2, middle), size / 2, size / 2);
    }
    const auto machine = MachineMark(index.data(kMachineRole).toInt());
    if (index.data(kExecutingRole).toBool() || machine != MachineMark::None) {
        const double right = cell.right() - 5 - size;
        QPainterPath arrow;
        arrow.moveTo(right - size, middle - size / 2);
        arrow.lineTo(right, middle);
        arrow.lineTo(right - size, middle + size / 2);
        arrow.closeSubpath();
        painter->setBrush(index.data(kExecutingRole).toBool() ? QColor(30, 150, 60)
                          : machine == MachineMark::Running   ? QColor(40, 90, 200)
                                                              : QColor(200, 40, 40));
        painter->drawPath(arrow);
    }
    painter->restore();
}

}  // namespace tql
