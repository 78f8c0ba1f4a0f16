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
    m_time->setTitleText(QStringLiteral("秒"));
    m_time->setLabelFormat(QStringLiteral("%.0f"));
    m_position = new QValueAxis;
    m_position->setTitleText(QStringLiteral("滑台座標"));
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
    const double now = double(m_clock.elapsed()) / 1000;
    if (m_series->count() == 0) {
        m_low = m_high = position;
    }
    m_series->append(now, position);
    qsizetype old = 0;
    while (old < m_series->count() && m_series->at(int(old)).x() < now - kWindowSeconds) {
        ++old;
    }
    if (old > 0) {
        m_series->removePoints(0, int(old));
    }
    m_low = std::min(m_low, position);
    m_high = std::max(m_high, position);
    m_time->setRange(std::max(0.0, now - kWindowSeconds), std::max(now, 10.0));
    const double margin = std::max(1.0, (m_high - m_low) * 0.05);
    m_position->setRange(m_low - margin, m_high + margin);
}

void TrendChart::clear() {
    m_series->clear();
    m_clock.start();
    m_time->setRange(0, kWindowSeconds);
    m_position->setRange(0, 100);
}

qsizetype TrendChart::points() const {
    return m_series->count();
}

}  // namespace tql
