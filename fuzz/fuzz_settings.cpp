// The settings file: any bytes give a setting; every setting the tool writes reads back
// the same.
#include "files/settingsfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)tql::portNumberFromBytes(bytes);
    // A setting is one line: the text up to its first line break.
    QString text = QString::fromUtf8(bytes);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            text.truncate(i);
            break;
        }
    }
    if (const std::optional<QByteArray> written = tql::settingsBytes(text)) {
        if (tql::portNumberFromBytes(*written) != text) {
            std::abort();
        }
    }
    return 0;
}
