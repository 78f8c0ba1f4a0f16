#include "window/runhistorywindow.h"

#include "files/atomicfile.h"
#include "window/controls.h"
#include "window/prompter.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <utility>

namespace tql {
namespace {

QString seconds(const std::optional<double>& value) {
    return value ? QString::number(*value, 'f', 3) : QStringLiteral("-");
}

}  // namespace

RunHistoryWindow::RunHistoryWindow(Prompter& prompter, QString path, QWidget* parent)
    : QWidget(parent, Qt::Window), m_prompter(prompter), m_path(std::move(path)) {
    setObjectName(QStringLiteral("RunHistory"));
    setWindowTitle(tr("執行紀錄"));
    m_programs = new QComboBox;
    m_programs->setObjectName(QStringLiteral("RunHistoryProgram"));
    m_programs->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_table = new QTableWidget(0, 8);
    m_table->setObjectName(QStringLiteral("RunHistoryTable"));
    m_table->setHorizontalHeaderLabels({tr("日期"), tr("程式"), tr("連接埠"), tr("模擬 (秒)"),
                                        tr("實測 (秒)"), tr("差"), tr("結果"), tr("校正")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_chart = new QChartView(new QChart);
    m_chart->setObjectName(QStringLiteral("RunHistoryChart"));
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setMinimumSize(520, 220);
    m_error = new QLabel;
    m_error->setObjectName(QStringLiteral("RunHistoryError"));
    m_error->setWordWrap(true);
    QPalette palette = m_error->palette();
    palette.setColor(QPalette::WindowText, kErrorColour);
    m_error->setPalette(palette);
    auto* exportButton = new QPushButton(tr("匯出 CSV"));
    exportButton->setObjectName(QStringLiteral("RunHistoryExport"));
    auto* close = new QPushButton(tr("關閉"));

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("程式:")));
    top->addWidget(m_programs);
    top->addStretch();
    top->addWidget(exportButton);
    top->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_error);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_chart, 1);
    resize(760, 560);

    connect(m_programs, &QComboBox::currentIndexChanged, this, &RunHistoryWindow::showRuns);
    connect(exportButton, &QPushButton::clicked, this, &RunHistoryWindow::exportCsv);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

void RunHistoryWindow::showEvent(QShowEvent* event) {
    reload();
    QWidget::showEvent(event);
}

// The program chosen stays chosen while it has runs.
void RunHistoryWindow::reload() {
    const RunHistory history(m_path);
    m_error->setText(history.error().value_or(QString()));
    m_error->setVisible(history.error().has_value());
    m_runs = history.runs();
    const QString chosen = m_programs->currentData().toString();
    const QSignalBlocker quiet(m_programs);
    m_programs->clear();
    m_programs->addItem(tr("全部程式"), QString());
    QStringList files;
    for (const RunRecord& run : m_runs) {
        if (!files.contains(run.file)) {
            files << run.file;
        }
    }
    for (const QString& file : files) {
        m_programs->addItem(file.isEmpty() ? tr("(未存檔的程式)") : QFileInfo(file).fileName(),
                            file.isEmpty() ? QStringLiteral("\n") : file);
        m_programs->setItemData(m_programs->count() - 1, QDir::toNativeSeparators(file),
                                Qt::ToolTipRole);
    }
    m_programs->setCurrentIndex(std::max(0, m_programs->findData(chosen)));
    showRuns();
}

// "\n" stands for the programs never saved: no file name holds it.
std::vector<RunRecord> RunHistoryWindow::chosenRuns() const {
    const QString chosen = m_programs->currentData().toString();
    if (chosen.isEmpty()) {
        return m_runs;
    }
    std::vector<RunRecord> runs;
    std::copy_if(m_runs.begin(), m_runs.end(), std::back_inserter(runs),
                 [&chosen](const RunRecord& run) {
                     return run.file == (chosen == QStringLiteral("\n") ? QString() : chosen);
                 });
    return runs;
}

void RunHistoryWindow::showRuns() {
    const std::vector<RunRecord> runs = chosenRuns();
    m_table->setRowCount(int(runs.size()));
    auto* chart = new QChart;
    auto* estimates = new QLineSeries;
    estimates->setName(tr("模擬"));
    estimates->setPointsVisible(true);  // a single run is a point, not a line
    auto* measured = new QScatterSeries;
    measured->setName(tr("實測"));
    measured->setColor(kMeasuredColour);
    measured->setMarkerSize(8);
    for (int row = 0; row < int(runs.size()); ++row) {
        const RunRecord& run = runs[size_t(row)];
        const QString difference =
            run.estimate && run.measured && *run.estimate > 0
                ? QStringLiteral("%1%2 %")
                      .arg(*run.measured >= *run.estimate ? QStringLiteral("+") : QString())
                      .arg(100 * (*run.measured - *run.estimate) / *run.estimate, 0, 'f', 1)
                : QStringLiteral("-");
        const QStringList cells = {
            run.when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            run.file.isEmpty() ? tr("(未存檔的程式)") : QFileInfo(run.file).fileName(),
            run.port,
            seconds(run.estimate),
            seconds(run.measured),
            difference,
            outcomeText(run.outcome),
            run.calibration.isEmpty() ? tr("無") : run.calibration};
        for (int column = 0; column < int(cells.size()); ++column) {
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
        m_table->item(row, 1)->setToolTip(QDir::toNativeSeparators(run.file));
        const double at = double(run.when.toMSecsSinceEpoch());
        if (run.estimate) {
            estimates->append(at, *run.estimate);
        }
        if (run.measured) {
            measured->append(at, *run.measured);
        }
    }
    m_table->resizeColumnsToContents();
    chart->addSeries(estimates);
    chart->addSeries(measured);
    auto* time = new QDateTimeAxis;
    time->setFormat(QStringLiteral("MM-dd HH:mm"));
    auto* secondsAxis = new QValueAxis;
    secondsAxis->setTitleText(tr("秒"));
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(secondsAxis, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(time);
        series->attachAxis(secondsAxis);
    }
    if (!runs.empty()) {
        const qint64 first = runs.front().when.toMSecsSinceEpoch();
        const qint64 last = std::max(runs.back().when.toMSecsSinceEpoch(), first + 60000);
        time->setRange(QDateTime::fromMSecsSinceEpoch(first - 30000),
                       QDateTime::fromMSecsSinceEpoch(last + 30000));
        constexpr qint64 kDay = 24 * 3600 * 1000;
        time->setFormat(last - first < kDay ? QStringLiteral("HH:mm:ss")
                                            : QStringLiteral("MM-dd HH:mm"));
        double high = 0;
        for (const RunRecord& run : runs) {
            high = std::max({high, run.estimate.value_or(0), run.measured.value_or(0)});
        }
        secondsAxis->setRange(0, std::max(1.0, high * 1.1));
    }
    const std::unique_ptr<QChart> previous(m_chart->chart());  // the view lets go of it
    m_chart->setChart(chart);
}

// Written as program files are: whole or not at all.
void RunHistoryWindow::exportCsv() {
    const QString path = chooseSaveName(m_prompter, this, tr("CSV 檔(*.csv) | *.csv"));
    if (path.isEmpty()) {
        return;
    }
    if (const auto failure = writeFileAtomically(path, runsCsv(chosenRuns()))) {
        m_prompter.message(this, *failure, applicationTitle(), Prompter::Buttons::Ok,
                           Prompter::Icon::Warning);
    }
}

}  // namespace tql
