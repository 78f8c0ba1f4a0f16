// The translator on arbitrary tables: a refusal, or at most 1001 lines from "{" to "}",
// each with the row it came from.
#include "fuzztable.h"
#include "translator/translator.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    const tql::fuzz::FuzzedTable t = tql::fuzz::fuzzedTable(provider);
    const tql::Translation translation = tql::TranslateProgram(t.table, t.RowCounter);
    if (!translation.ok()) {
        return translation.ControllerText.isEmpty() ? 0 : (std::abort(), 0);
    }
    const QStringList& text = translation.ControllerText;
    if (text.size() > tql::kMaxControllerLines || text.size() < 3 || text.first() != u"{" ||
        text.last() != u"}" || translation.LineRows.size() != size_t(text.size())) {
        std::abort();
    }
    for (const int row : translation.LineRows) {
        if (row < 0 || row > t.RowCounter) {
            std::abort();
        }
    }
    return 0;
}
