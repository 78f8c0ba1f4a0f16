#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QLineSeries;
class QValueAxis;

namespace tql {

// 趨勢: the slide's position from the console's polls over the last two minutes, so the
// operator sees the motion, not just a number. Appending a point is cheap; the chart
// repaints only while its tab is shown.
class TrendChart final : public QWidget {
    Q_OBJECT

public:
    explicit TrendChart(QWidget* parent = nullptr);

    // A position read now.
    void addPosition(double position);
    // A position read at seconds since the chart was cleared.
    void addPoint(double seconds, double position);
    void clear();

private:
    QElapsedTimer m_clock;
    QLineSeries* m_series;
    QValueAxis* m_time;
    QValueAxis* m_position;
};

}  // namespace tql
