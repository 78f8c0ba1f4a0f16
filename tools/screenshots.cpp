// Renders the windows as the operator sees them into PNG files, for a look at the layout:
//   screenshots OUTDIR
// Run it under a real X server (scripts/screenshots.sh starts Xvfb) with a CJK font.

#include "editor/form1.h"
#include "editor/prompter.h"
#include "link/qtserialline.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshots OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir workingDir;
    tql::WidgetPrompter prompter;
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
    return 0;
}
