#include "window/programlistview.h"

#include <QDropEvent>
#include <QMimeData>

#include <algorithm>

namespace tql {

const QString ProgramListView::kRowsMime = QStringLiteral("application/x-tql400-rows");

ProgramListView::ProgramListView(std::function<QMimeData*(const std::vector<int>&)> rowsData)
    : m_rowsData(std::move(rowsData)) {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

QStringList ProgramListView::mimeTypes() const {
    return {kRowsMime, QStringLiteral("text/plain")};
}

// The rows dragged, in the program's order.
QMimeData* ProgramListView::mimeData(const QList<QTreeWidgetItem*>& items) const {
    std::vector<int> rows;
    for (QTreeWidgetItem* item : items) {
        rows.push_back(indexOfTopLevelItem(item) + 1);
    }
    std::sort(rows.begin(), rows.end());
    return m_rowsData(rows);
}

Qt::DropActions ProgramListView::supportedDropActions() const {
    return Qt::MoveAction | Qt::CopyAction;
}

// On the upper half of a row: before it; on the lower half: after it; below the rows: at
// the end. The source keeps its items (a copy, to the view that started the drag).
void ProgramListView::dropEvent(QDropEvent* event) {
    const QPoint at = event->position().toPoint();
    QTreeWidgetItem* item = itemAt(at);
    const int before = item == nullptr                              ? topLevelItemCount() + 1
                       : at.y() < visualItemRect(item).center().y() ? indexOfTopLevelItem(item) + 1
                                                                    : indexOfTopLevelItem(item) + 2;
    if (event->source() == this) {
        emit rowsMovedTo(before);
    } else {
        emit rowsDropped(before, event->mimeData());
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
}

}  // namespace tql
