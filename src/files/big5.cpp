#include "files/big5.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace tql {
namespace {

// ICU's "Big5" is the Windows code page 950 table; its "CP950" is a different IBM table.
constexpr const char* kBig5 = "Big5";

}  // namespace

std::optional<QByteArray> encodeBig5(const QString& text) {
    QStringEncoder encoder(kBig5);
    QByteArray bytes = encoder.encode(text);
    if (!encoder.isValid() || encoder.hasError()) {
        return std::nullopt;
    }
    return bytes;
}

QString decodeBig5(const QByteArray& bytes) {
    QStringDecoder decoder(kBig5);
    return decoder.decode(bytes);
}

QString decodeFileText(const QByteArray& bytes) {
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError()) {
            return text;
        }
    }
    return decodeBig5(bytes);
}

QList<QByteArray> splitLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.append(bytes.mid(start, i - start));
            i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < bytes.size()) {
        lines.append(bytes.mid(start));
    }
    return lines;
}

}  // namespace tql
