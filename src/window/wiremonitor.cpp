#include "window/wiremonitor.h"

#include "files/atomicfile.h"
#include "link/wirelog.h"
#include "window/prompter.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tql {
namespace {

constexpr std::chrono::milliseconds kRefresh{200};

}  // namespace

WireMonitor::WireMonitor(WireLog& log, Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_log(log), m_prompter(prompter), m_refresh(this) {
    setObjectName(QStringLiteral("WireMonitor"));
    setWindowTitle(tr("通訊監視"));
    m_view = new QPlainTextEdit;
    m_view->setObjectName(QStringLiteral("WireView"));
    m_view->setReadOnly(true);
    m_view->setMaximumBlockCount(int(WireLog::kDefaultCapacity));
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_hex = new QCheckBox(tr("十六進位"));
    m_hex->setObjectName(QStringLiteral("WireHex"));
    auto* clear = new QPushButton(tr("清除"));
    clear->setObjectName(QStringLiteral("WireClear"));
    auto* save = new QPushButton(tr("儲存..."));
    save->setObjectName(QStringLiteral("WireSave"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_hex);
    buttons->addStretch();
    buttons->addWidget(clear);
    buttons->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);
    resize(520, 360);

    m_refresh.setInterval(kRefresh);
    connect(&m_refresh, &QTimer::timeout, this, &WireMonitor::showNewEntries);
    connect(m_hex, &QCheckBox::toggled, this, &WireMonitor::showAll);
    connect(clear, &QPushButton::clicked, this, [this] {
        m_log.clear();
        showAll();
    });
    connect(save, &QPushButton::clicked, this, &WireMonitor::save);
}

void WireMonitor::showEvent(QShowEvent* event) {
    showAll();
    m_refresh.start();
    QWidget::showEvent(event);
}

void WireMonitor::hideEvent(QHideEvent* event) {
    m_refresh.stop();
    emit hidden();
    QWidget::hideEvent(event);
}

void WireMonitor::showNewEntries() {
    const WireLog::Fresh fresh = m_log.entriesAfter(m_shown);
    m_shown = fresh.appended;
    if (fresh.entries.empty()) {
        return;
    }
    // A view at its end follows the newest line, also once it holds all it keeps and each
    // new line pushes the oldest out; a view scrolled back stays where the operator reads.
    QScrollBar* scroll = m_view->verticalScrollBar();
    const bool following = scroll->value() == scroll->maximum();
    for (const WireEntry& entry : fresh.entries) {
        m_view->appendPlainText(m_log.format(entry, m_hex->isChecked()));
    }
    if (following) {
        scroll->setValue(scroll->maximum());
    }
}

void WireMonitor::showAll() {
    m_view->clear();
    m_shown = 0;  // all the log still holds
    showNewEntries();
}

void WireMonitor::save() {
    const QString path = chooseSaveName(m_prompter, this, tr("通訊記錄(*.txt) | *.txt"));
    if (path.isEmpty()) {
        return;
    }
    if (const auto failure = writeFileAtomically(path, m_view->toPlainText().toUtf8() + '\n')) {
        m_prompter.message(this, *failure, applicationTitle(), Prompter::Buttons::Ok,
                           Prompter::Icon::Warning);
    }
}

}  // namespace tql
