#pragma once

#include <QElapsedTimer>
#include <QWidget>

#include <vector>

class QChart;
class QLineSeries;
class QValueAxis;

namespace tql {

// 趨勢: the slide's position from the console's polls over the last two minutes, so the
// operator sees the motion, not just a number. Appending a point is cheap; the chart
// repaints only while its tab is shown. In a cell each controller has a line of its own,
// with a colour and its name in the legend; the first controller's line is the one the
// chart always had (its key is empty), and alone it needs no legend.
class TrendChart final : public QWidget {
    Q_OBJECT

public:
    explicit TrendChart(QWidget* parent = nullptr);

    // A position read now, of the first controller or of the named one.
    void addPosition(double position) { addPosition({}, position); }
    void addPosition(const QString& controller, double position);
    // A position read at seconds since the chart was cleared.
    void addPoint(double seconds, double position) { addPoint({}, seconds, position); }
    void addPoint(const QString& controller, double seconds, double position);
    // The controller's line starts anew (its port closed); when every line is empty the
    // chart's clock starts again too.
    void clear(const QString& controller = {});
    // A line for a controller of the cell, with the name the legend shows; the first's
    // line is only named.
    void addLine(const QString& controller, const QString& shown);
    void removeLine(const QString& controller);

private:
    struct Line {
        QString controller;
        QLineSeries* series;
    };
    QLineSeries* series(const QString& controller) const;
    void showAxes(double seconds);

    QElapsedTimer m_clock;
    std::vector<Line> m_lines;  // the first controller's first
    QChart* m_chart;
    QValueAxis* m_time;
    QValueAxis* m_position;
};

}  // namespace tql
