#include "window/rowcaptions.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>

namespace tql {
namespace {

// Every Chinese caption the row kinds' table and the row dialogs store (a test holds them
// to the table).
constexpr std::array kCaptions = {
    QT_TRANSLATE_NOOP("RowCaptions", "絕對移動"), QT_TRANSLATE_NOOP("RowCaptions", "相對移動"),
    QT_TRANSLATE_NOOP("RowCaptions", "速度"),     QT_TRANSLATE_NOOP("RowCaptions", "延遲"),
    QT_TRANSLATE_NOOP("RowCaptions", "迴圈"),     QT_TRANSLATE_NOOP("RowCaptions", "迴圈結束"),
    QT_TRANSLATE_NOOP("RowCaptions", "標籤"),     QT_TRANSLATE_NOOP("RowCaptions", "跳至標籤"),
    QT_TRANSLATE_NOOP("RowCaptions", "呼叫標籤"), QT_TRANSLATE_NOOP("RowCaptions", "返回"),
    QT_TRANSLATE_NOOP("RowCaptions", "回原點"),   QT_TRANSLATE_NOOP("RowCaptions", "座標歸零"),
    QT_TRANSLATE_NOOP("RowCaptions", "自設"),
};

}  // namespace

bool isRowCaption(const QString& cell) {
    return std::any_of(kCaptions.begin(), kCaptions.end(),
                       [&cell](const char* caption) { return cell == QString::fromUtf8(caption); });
}

QString shownCell(const QString& cell) {
    if (!isRowCaption(cell)) {
        return cell;
    }
    return QCoreApplication::translate("RowCaptions", cell.toUtf8().constData());
}

}  // namespace tql
