#pragma once

#include <QList>
#include <QPointF>
#include <QRect>

#include <utility>
#include <vector>

namespace tql {

// A line of (seconds, position) samples as a chart `columns` pixels wide can show it: per
// column the first, lowest, highest and last sample, in their order in time, so every peak
// and every turn stays while the points stay a few per pixel however long the run.
QList<QPointF> thinnedPoints(const std::vector<std::pair<double, double>>& samples, int columns);

// Where a window of `size` stands beside `main` on `screen`: to its right where it fits,
// else to its left, else as far right as the screen allows; level with main's top.
QPoint besideWindow(const QRect& main, const QSize& size, const QRect& screen);

}  // namespace tql
