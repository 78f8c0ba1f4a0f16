// What the tool writes, it reads back the same: a file that loads saves and reloads to the
// same rows, and so does every table that can be saved at all.
#include "files/programfile.h"
#include "fuzztable.h"

#include <cstdint>
#include <cstdlib>

namespace {

void reloadsTheSame(const tql::ProgramTable& table, int RowCounter) {
    const tql::Encoded saved = tql::encodeProgram(table, RowCounter);
    if (!saved.error.isEmpty()) {
        return;  // refused by name: Big5 cannot hold a text
    }
    const tql::LoadResult again = tql::decodeProgram(saved.bytes);
    if (!again.program || again.program->RowCounter != RowCounter || !again.notice.isEmpty()) {
        std::abort();
    }
    for (int i = 0; i <= RowCounter; ++i) {
        if (again.program->table[i] != table[i]) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const tql::LoadResult loaded = tql::decodeProgram(bytes); loaded.program) {
        reloadsTheSame(loaded.program->table, loaded.program->RowCounter);
    }
    FuzzedDataProvider provider(data, size);
    const tql::fuzz::FuzzedTable t = tql::fuzz::fuzzedTable(provider);
    if (t.RowCounter > 0) {
        reloadsTheSame(t.table, t.RowCounter);
    }
    return 0;
}
