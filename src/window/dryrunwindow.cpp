#include "window/dryrunwindow.h"

#include "link/console.h"
#include "window/prompter.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include <memory>

namespace tql {

DryRunWindow::DryRunWindow(const Program& program, Prompter& prompter,
                           std::function<std::optional<double>()> livePosition, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_program(program),
      m_prompter(prompter),
      m_livePosition(std::move(livePosition)) {
    setObjectName(QStringLiteral("DryRun"));
    setWindowTitle(tr("模擬執行"));

    auto* inputs = new QGroupBox(tr("開始時的輸入"));
    auto* inputRow = new QHBoxLayout(inputs);
    for (int k = 0; k < kInputs; ++k) {
        m_inputs[size_t(k)] = new QCheckBox(QString::number(k + 1));
        m_inputs[size_t(k)]->setObjectName(QStringLiteral("DryInput(%1)").arg(k + 1));
        inputRow->addWidget(m_inputs[size_t(k)]);
    }
    m_start = new QLineEdit(QStringLiteral("0"));
    m_start->setObjectName(QStringLiteral("DryStart"));
    m_changes = new QPlainTextEdit;
    m_changes->setObjectName(QStringLiteral("DryChanges"));
    m_changes->setPlaceholderText(tr("輸入 3 在 2.0 秒時變 1"));
    m_changes->setMaximumHeight(64);
    auto* runButton = new QPushButton(tr("執行"));
    runButton->setObjectName(QStringLiteral("DryRunStart"));
    auto* save = new QPushButton(tr("儲存圖表..."));
    save->setObjectName(QStringLiteral("DrySave"));
    m_summary = new QListWidget;
    m_summary->setObjectName(QStringLiteral("DrySummary"));
    m_summary->setMaximumHeight(120);
    auto* assumption = new QLabel(
        tr("模型的假設: 移動以 VM 速度、VA 加速度的梯形曲線進行; 實際控制器的曲線可能不同."));
    assumption->setWordWrap(true);
    m_chart = new QChartView(new QChart);
    m_chart->setObjectName(QStringLiteral("DryChart"));
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setMinimumSize(520, 260);
    m_chart->chart()->legend()->hide();

    auto* settings = new QGridLayout;
    settings->addWidget(inputs, 0, 0, 1, 3);
    settings->addWidget(new QLabel(tr("起始位置:")), 1, 0);
    settings->addWidget(m_start, 1, 1);
    settings->addWidget(new QLabel(tr("輸入變化 (一行一個):")), 2, 0);
    settings->addWidget(m_changes, 2, 1, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(runButton);
    buttons->addStretch();
    buttons->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(settings);
    layout->addLayout(buttons);
    layout->addWidget(m_chart, 1);
    layout->addWidget(m_summary);
    layout->addWidget(assumption);
    connect(runButton, &QPushButton::clicked, this, &DryRunWindow::run);
    connect(save, &QPushButton::clicked, this, &DryRunWindow::saveChart);
    connect(m_summary, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (const int row = item->data(Qt::UserRole).toInt(); row > 0) {
            emit rowChosen(row);
        }
    });
}

void DryRunWindow::showEvent(QShowEvent* event) {
    if (const std::optional<double> live = m_livePosition()) {
        m_start->setText(QString::number(*live));
    }
    QWidget::showEvent(event);
}

void DryRunWindow::run() {
    DryRunSetup setup;
    if (!isNumberText(m_start->text())) {
        m_prompter.message(this, tr("起始位置「%1」不是數字!").arg(m_start->text()),
                           applicationTitle());
        return;
    }
    setup.startPosition = m_start->text().trimmed().toDouble();
    for (int k = 0; k < kInputs; ++k) {
        setup.inputs[size_t(k)] = m_inputs[size_t(k)]->isChecked();
    }
    const QStringList lines = m_changes->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const std::optional<InputChange> change = parseInputChange(line);
        if (!change) {
            m_prompter.message(this,
                               tr("看不懂「%1」; 請寫成「輸入 3 在 2.0 秒時變 1」.").arg(line),
                               applicationTitle());
            return;
        }
        setup.changes.push_back(*change);
    }
    const DryRunResult result = DryRun(m_program.table(), m_program.RowCounter(), setup);
    m_summary->clear();
    m_summary->addItems(dryRunSummary(result));
    m_summary->item(0)->setData(Qt::UserRole, result.row);
    if (result.end != DryRunEnd::Finished) {
        m_summary->item(0)->setForeground(QColor(178, 34, 34));
    }

    auto* chart = new QChart;
    chart->legend()->hide();
    auto* series = new QLineSeries;
    for (const auto& [time, position] : result.samples) {
        series->append(time, position);
    }
    chart->addSeries(series);
    auto* time = new QValueAxis;
    time->setTitleText(tr("秒"));
    time->setRange(0, std::max(result.seconds, 0.1));
    auto* position = new QValueAxis;
    position->setTitleText(tr("位置"));
    const double margin = std::max(1.0, (result.highest - result.lowest) * 0.05);
    position->setRange(result.lowest - margin, result.highest + margin);
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(position, Qt::AlignLeft);
    series->attachAxis(time);
    series->attachAxis(position);
    const std::unique_ptr<QChart> previous(m_chart->chart());  // the view lets go of it
    m_chart->setChart(chart);
}

void DryRunWindow::saveChart() {
    const QString path = m_prompter.saveFileName(this, tr("PNG 圖檔(*.png) | *.png"));
    if (path.isEmpty()) {
        return;
    }
    const QString file = path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)
                             ? path
                             : path + QStringLiteral(".png");
    if (!m_chart->grab().save(file, "PNG")) {
        m_prompter.message(this, tr("無法寫入 %1").arg(file), applicationTitle(),
                           Prompter::Buttons::Ok, Prompter::Icon::Warning);
    }
}

}  // namespace tql
