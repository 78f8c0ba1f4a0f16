// Program file loading: any bytes load or are refused with a message, never more rows than
// the table holds.
#include "files/programfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const tql::LoadResult loaded = tql::decodeProgram(bytes);
    if (loaded.program.has_value() == !loaded.error.isEmpty()) {
        std::abort();  // exactly one of a program and a refusal
    }
    if (loaded.program &&
        (loaded.program->RowCounter < 0 || loaded.program->RowCounter > tql::kMaxProgramRows)) {
        std::abort();
    }
    return 0;
}
