// Reply decoding: any bytes from the line decode with none dropped, and read as an input
// word, a teach reading and a number check without fault.
#include "files/big5.h"
#include "link/console.h"
#include "session/fieldtext.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString reply = tql::decodeBig5(bytes);
    if (reply.isEmpty() != bytes.isEmpty()) {
        std::abort();  // a received byte vanished
    }
    const int word = tql::inputWord(reply);
    const std::array<bool, 8> on = tql::inputIndicators(word);
    if (word <= 0 && on != std::array<bool, 8>{}) {
        std::abort();
    }
    const QString reading = tql::teachReading(reply);
    if (reading.size() > reply.size()) {
        std::abort();
    }
    (void)tql::isNumberText(reading);
    return 0;
}
