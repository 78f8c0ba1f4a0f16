// Renders the windows as the operator sees them into PNG files, for a look at the layout:
//   screenshots OUTDIR [DEVICE]
// With DEVICE (a simulator's pseudo-terminal) it also connects, uploads and runs a program.
// Run it under a real X server (scripts/screenshots.sh starts Xvfb) with a CJK font.

#include "link/qtserialline.h"
#include "window/form1.h"
#include "window/prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <QFile>

#include <cstdio>

namespace {

// Answers every box at once, as an operator saying yes to everything would.
class YesPrompter final : public tql::Prompter {
public:
    Answer message(QWidget*, const QString&, const QString&, Buttons buttons, Icon) override {
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }
    QString inputBox(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString saveFileName(QWidget*, const QString&) override { return {}; }
    QString openFileName(QWidget*, const QString&) override { return {}; }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: screenshots OUTDIR [DEVICE]\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir workingDir;
    if (argc == 3) {
        QFile settings(QDir(workingDir.path()).filePath("DATA.TXT"));
        settings.open(QIODevice::WriteOnly);
        settings.write(QByteArray(argv[2]) + "\r\n");
    }
    YesPrompter prompter;
    tql::QtSerialLine line;
    tql::ThreadSleeper sleeper;
    tql::FORM1 window(prompter, line, sleeper, QDir(workingDir.path()));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window was never shown\n");
        return 1;
    }
    window.grab().save(out.filePath("form1-empty.png"));

    // A short program, as the list shows it after a few entries.
    const std::array<tql::Row, 9> rows = {{
        {"VM", "100", "速度", "-", "-"},
        {"LOOP", "3", "迴圈", "-", "-"},
        {"POINT", "絕對移動", "100", "-", "-"},
        {"WT", "500", "延遲", "-", "-"},
        {"PULSE", "2", " 100", "ON-P", "-"},
        {"IN+J", "5", "A1", "IN+JP", "-"},
        {"LOOPEND", "迴圈結束", "-", "-", "-"},
        {"STEP", "MA 50", "直接指令", "自設", "-"},
        {"HOME", "回原點", "-", "-", "-"},
    }};
    for (const tql::Row& row : rows) {
        window.shared.ProgramTable[++window.shared.RowCounter] = row;
    }
    window.show_it();
    QTest::qWait(600);  // the first console tick
    window.grab().save(out.filePath("form1-program.png"));
    window.findChild<QPushButton*>("Command12")->click();
    for (const auto& [button, dialog] : {std::pair{"Command10", "XIN"},
                                         {"Command11", "XOUT"},
                                         {"Command5", "MR"},
                                         {"Command15", "STEP"},
                                         {"Command19", "Form3"},
                                         {"Command1", "Form4"}}) {
        window.findChild<QPushButton*>(QString::fromUtf8(button))->click();
        QWidget* shown = window.findChild<QWidget*>(QString::fromUtf8(dialog));
        QTest::qWait(100);
        shown->grab().save(out.filePath(QStringLiteral("dialog-%1.png").arg(dialog)));
        shown->close();
    }
    if (argc == 3) {
        window.findChild<QPushButton*>("連線鍵")->click();
        window.findChild<QCheckBox*>("Check4(1)")->setChecked(true);
        window.findChild<QPushButton*>("Command3")->click();
        QTest::qWait(1700);
        window.grab().save(out.filePath("form1-running.png"));
    }
    return 0;
}
