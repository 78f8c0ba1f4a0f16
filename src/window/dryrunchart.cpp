// The dry-run window's chart: the model's motion with its cursor, fresh for each run, and
// kept as a picture.
#include "files/atomicfile.h"
#include "window/chartpoints.h"
#include "window/controls.h"
#include "window/dryrunwindow.h"
#include "window/prompter.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <memory>

namespace tql {

void DryRunWindow::newChart() {
    auto* chart = new QChart;
    chart->legend()->hide();
    m_motion = new QLineSeries;
    m_cursor = new QLineSeries;
    m_cursor->setColor(QColor(200, 40, 40));
    chart->addSeries(m_motion);
    chart->addSeries(m_cursor);
    m_timeAxis = new QValueAxis;
    m_timeAxis->setTitleText(tr("秒"));
    m_positionAxis = new QValueAxis;
    m_positionAxis->setTitleText(tr("位置"));
    chart->addAxis(m_timeAxis, Qt::AlignBottom);
    chart->addAxis(m_positionAxis, Qt::AlignLeft);
    for (QLineSeries* series : {m_motion, m_cursor}) {
        series->attachAxis(m_timeAxis);
        series->attachAxis(m_positionAxis);
    }
    m_polled = nullptr;  // a measurement goes on, drawn no more
    const std::unique_ptr<QChart> previous(m_chart->chart());  // the view lets go of it
    m_chart->setChart(chart);
}

// The chart grows as the run goes; its cursor stands at the moment shown. The line is
// handed over at once, as many points as the chart's width shows: one point at a time
// would rebuild the whole line for each.
void DryRunWindow::showChart() {
    const DryRunResult& result = m_runner->result();
    m_motion->replace(thinnedPoints(result.samples, int(m_chart->chart()->plotArea().width())));
    const double now = m_runner->ended() ? result.seconds : m_runner->watch().seconds;
    m_timeAxis->setRange(0, std::max(now, 0.1));
    const double margin = std::max(1.0, (result.highest - result.lowest) * 0.05);
    const double low = result.lowest - margin;
    const double high = result.highest + margin;
    m_positionAxis->setRange(low, high);
    m_cursor->replace(QList<QPointF>{{now, low}, {now, high}});
    m_cursor->setVisible(!m_runner->ended());
}

// Written as program files are: whole or not at all, the old file kept on a failure.
void DryRunWindow::saveChart() {
    const QString path = chooseSaveName(m_prompter, this, tr("PNG 圖檔(*.png) | *.png"));
    if (path.isEmpty()) {
        return;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    m_chart->grab().save(&buffer, "PNG");
    if (const auto failure = writeFileAtomically(path, png)) {
        m_prompter.message(this, *failure, applicationTitle(), Prompter::Buttons::Ok,
                           Prompter::Icon::Warning);
    }
}

}  // namespace tql
