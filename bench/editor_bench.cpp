// Editor benchmark: the memory the undo history holds. A program of 500 rows takes 2,000
// edits (modifies, inserts and deletes in turn); the process's resident memory is read
// before and after, and every step within the history's reach is undone and redone.

#include "program/program.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

namespace {

// Resident memory in KiB, from the kernel's own count.
long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').front().toLong();
        }
    }
    return -1;
}

tql::Row rowOf(int n) {
    return {QStringLiteral("WT"), QString::number(n), QStringLiteral("延遲"), QStringLiteral("-"),
            QStringLiteral("-")};
}

}  // namespace

int main() {
    constexpr int kEdits = 2000;
    tql::ProgramTable table{};
    table[0] = tql::headerRow();
    for (int i = 1; i < tql::kMaxProgramRows; ++i) {
        table[i] = rowOf(i);
    }
    tql::Program program;
    program.load(table, tql::kMaxProgramRows - 1);
    const long before = residentKiB();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kEdits; ++i) {
        program.setCurrentRow(1 + (i * 37) % (program.RowCounter() - 1));
        switch (i % 3) {
            case 0:
                program.ArmModify();
                program.StoreRow(rowOf(100000 + i));
                break;
            case 1:
                program.ArmInsert();
                program.StoreRow(rowOf(200000 + i));
                break;
            default:
                program.DeleteCurrentRow();
                break;
        }
    }
    const double editing = double(clock.nsecsElapsed()) / 1e6;
    const long after = residentKiB();
    int undone = 0;
    clock.restart();
    for (; program.canUndo(); ++undone) {
        program.undo();
    }
    const double undoing = double(clock.nsecsElapsed()) / 1e6;
    int redone = 0;
    for (; program.canRedo(); ++redone) {
        program.redo();
    }
    std::printf(
        "undo history of %d edits on %d rows: %ld KiB resident beyond the program (%ld -> %ld "
        "KiB); %d steps undone in %.1f ms, %d redone; edits took %.1f ms\n",
        kEdits, tql::kMaxProgramRows - 1, after - before, before, after, undone, undoing, redone,
        editing);
    return 0;
}
