#include "window/trendchart.h"

#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLineSeries>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <limits>

namespace tql {
namespace {

constexpr double kWindowSeconds = 120;

}  // namespace

TrendChart::TrendChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Trend"));
    m_time = new QValueAxis;
    m_time->setTitleText(tr("秒"));
    m_time->setLabelFormat(QStringLiteral("%.0f"));
    m_position = new QValueAxis;
    m_position->setTitleText(tr("滑台座標"));
    m_chart = new QChart;
    m_chart->legend()->hide();
    m_chart->legend()->setAlignment(Qt::AlignTop);
    m_chart->addAxis(m_time, Qt::AlignBottom);
    m_chart->addAxis(m_position, Qt::AlignLeft);
    m_chart->setMargins(QMargins(2, 2, 2, 2));
    auto* view = new QChartView(m_chart);
    view->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    addLine({}, {});
    clear();
}

void TrendChart::addLine(const QString& controller, const QString& shown) {
    QLineSeries* line = series(controller);
    if (line == nullptr) {
        line = new QLineSeries;
        m_chart->addSeries(line);
        line->attachAxis(m_time);
        line->attachAxis(m_position);
        m_lines.push_back({controller, line});
        m_chart->legend()->setVisible(m_lines.size() > 1);
    }
    line->setName(shown);
}

void TrendChart::removeLine(const QString& controller) {
    const auto found = std::find_if(m_lines.begin() + 1, m_lines.end(), [&](const Line& line) {
        return line.controller == controller;
    });
    if (found == m_lines.end()) {
        return;
    }
    m_chart->removeSeries(found->series);
    delete found->series;
    m_lines.erase(found);
    m_chart->legend()->setVisible(m_lines.size() > 1);
}

QLineSeries* TrendChart::series(const QString& controller) const {
    const auto found = std::find_if(m_lines.begin(), m_lines.end(), [&](const Line& line) {
        return line.controller == controller;
    });
    return found == m_lines.end() ? nullptr : found->series;
}

void TrendChart::addPosition(const QString& controller, double position) {
    addPoint(controller, double(m_clock.elapsed()) / 1000, position);
}

void TrendChart::addPoint(const QString& controller, double seconds, double position) {
    QLineSeries* line = series(controller);
    if (line == nullptr) {
        return;  // a controller just removed: its last reading was on its way
    }
    line->append(seconds, position);
    qsizetype old = 0;
    while (old < line->count() && line->at(int(old)).x() < seconds - kWindowSeconds) {
        ++old;
    }
    if (old > 0) {
        line->removePoints(0, int(old));
    }
    showAxes(seconds);
}

// The axes follow what is shown: the last two minutes, and the positions within them, so a
// far excursion that has scrolled out no longer squeezes the rest. The point just added is
// always among them.
void TrendChart::showAxes(double seconds) {
    double low = std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::lowest();
    for (const Line& line : m_lines) {
        for (const QPointF& point : line.series->points()) {
            if (point.x() < seconds - kWindowSeconds) {
                continue;  // a line that has had no reading for a while
            }
            low = std::min(low, point.y());
            high = std::max(high, point.y());
        }
    }
    m_time->setRange(std::max(0.0, seconds - kWindowSeconds), std::max(seconds, 10.0));
    const double margin = std::max(1.0, (high - low) * 0.05);
    m_position->setRange(low - margin, high + margin);
}

void TrendChart::clear(const QString& controller) {
    if (QLineSeries* line = series(controller)) {
        line->clear();
    }
    if (std::all_of(m_lines.begin(), m_lines.end(),
                    [](const Line& line) { return line.series->count() == 0; })) {
        m_clock.start();
        m_time->setRange(0, kWindowSeconds);
        m_position->setRange(0, 100);
    }
}

}  // namespace tql
