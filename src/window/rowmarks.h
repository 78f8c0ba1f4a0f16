#pragma once

#include <QStyledItemDelegate>

namespace tql {

// The marks of the dry run on the program list's rows, kept on each row's first cell and
// drawn in a room of their own at its right end, over the selection too, so a row number
// of any length stays readable: a red dot for a breakpoint, a green arrow for the row the
// run stands at, a blue one for the row the machine runs as the shadow run tells it, a red
// one where the machine parted from the program.
inline constexpr int kBreakpointRole = Qt::UserRole + 1;
inline constexpr int kExecutingRole = Qt::UserRole + 2;
inline constexpr int kMachineRole = Qt::UserRole + 3;  // a MachineMark

enum class MachineMark { None, Running, Parted };
inline constexpr int kMarksRoom = 24;  // pixels at the right of the first column

class RowMarks final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace tql
