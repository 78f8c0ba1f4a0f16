#include "window/trendchart.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QVBoxLayout>
#include <QValueAxis>

namespace tql {
namespace {

constexpr double kWindowSeconds = 120;

}  // namespace

TrendChart::TrendChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Trend"));
    m_series = new QLineSeries;
    m_time = new QValueAxis;
    m_time->setTitleText(tr("秒"));
    m_time->setLabelFormat(QStringLiteral("%.0f"));
    m_position = new QValueAxis;
    m_position->setTitleText(tr("滑台座標"));
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->addSeries(m_series);
    chart->addAxis(m_time, Qt::AlignBottom);
    chart->addAxis(m_position, Qt::AlignLeft);
    m_series->attachAxis(m_time);
    m_series->attachAxis(m_position);
    chart->setMargins(QMargins(2, 2, 2, 2));
    auto* view = new QChartView(chart);
    view->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    clear();
}

void TrendChart::addPosition(double position) {
    addPoint(double(m_clock.elapsed()) / 1000, position);
}

// The axes follow what is shown: the last two minutes, and the positions within them, so a
// far excursion that has scrolled out no longer squeezes the rest.
void TrendChart::addPoint(double seconds, double position) {
    m_series->append(seconds, position);
    qsizetype old = 0;
    while (old < m_series->count() && m_series->at(int(old)).x() < seconds - kWindowSeconds) {
        ++old;
    }
    if (old > 0) {
        m_series->removePoints(0, int(old));
    }
    const QList<QPointF> shown = m_series->points();
    const auto [low, high] =
        std::minmax_element(shown.begin(), shown.end(),
                            [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
    m_time->setRange(std::max(0.0, seconds - kWindowSeconds), std::max(seconds, 10.0));
    const double margin = std::max(1.0, (high->y() - low->y()) * 0.05);
    m_position->setRange(low->y() - margin, high->y() + margin);
}

void TrendChart::clear() {
    m_series->clear();
    m_clock.start();
    m_time->setRange(0, kWindowSeconds);
    m_position->setRange(0, 100);
}

}  // namespace tql
