#include "files/big5.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tql {
namespace {

// ICU's "Big5" is the Windows code page 950 table; its "CP950" is a different IBM table.
constexpr const char* kBig5 = "Big5";
constexpr QChar kReplacement = QChar::ReplacementCharacter;
constexpr char16_t kByteOrderMark = 0xFEFF;

bool isLead(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}

bool isTrail(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0xA1 && b <= 0xFE);
}

// Walks the bytes as Big5 does: whether every unit is well formed, and whether the bytes
// end in a lead byte still waiting for its trail.
struct Big5Shape {
    bool wellFormed = true;
    bool endsInLead = false;
};

Big5Shape big5Shape(QByteArrayView bytes) {
    Big5Shape shape;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (!isLead(b)) {
            continue;  // ASCII, or the single bytes 0x80 and 0xFF
        }
        if (i + 1 == bytes.size()) {
            shape.wellFormed = false;
            shape.endsInLead = true;
        } else if (isTrail(static_cast<unsigned char>(bytes[i + 1]))) {
            ++i;
        } else {
            shape.wellFormed = false;
        }
    }
    return shape;
}

std::optional<QString> decodeUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.contains(kReplacement)) {
        return std::nullopt;
    }
    return text;
}

}  // namespace

std::optional<QByteArray> encodeBig5(const QString& text) {
    // The encoder drops a byte-order mark without a word; it would vanish from a saved row.
    if (text.contains(QChar(kByteOrderMark))) {
        return std::nullopt;
    }
    QStringEncoder encoder(kBig5);
    QByteArray bytes = encoder.encode(text);
    if (!encoder.isValid() || encoder.hasError()) {
        return std::nullopt;
    }
    return bytes;
}

QString decodeBig5(QByteArrayView bytes) {
    QStringDecoder decoder(kBig5, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (big5Shape(bytes).endsInLead) {
        text += kReplacement;  // the decoder keeps a lone last lead byte to itself
    }
    return text;
}

bool isBig5Text(QByteArrayView bytes) {
    return big5Shape(bytes).wellFormed && !decodeBig5(bytes).contains(kReplacement);
}

std::optional<TextEncoding> detectEncoding(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        return TextEncoding::Utf8;
    }
    if (isBig5Text(bytes)) {
        return TextEncoding::Big5;
    }
    if (decodeUtf8(bytes)) {
        return TextEncoding::Utf8;
    }
    return std::nullopt;
}

std::optional<QString> decodeAs(TextEncoding encoding, QByteArrayView bytes) {
    if (encoding == TextEncoding::Utf8) {
        return decodeUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes);
    }
    if (!isBig5Text(bytes)) {
        return std::nullopt;
    }
    return decodeBig5(bytes);
}

std::optional<QString> decodeFileText(QByteArrayView bytes) {
    const std::optional<TextEncoding> encoding = detectEncoding(bytes);
    if (!encoding) {
        return std::nullopt;
    }
    return decodeAs(*encoding, bytes);
}

QList<QByteArray> splitLines(const QByteArray& bytes) {
    const char end = bytes.contains('\n') ? '\n' : '\r';
    QList<QByteArray> lines = bytes.split(end);
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();  // the final line end
    }
    if (end == '\n') {
        for (QByteArray& line : lines) {
            qsizetype first = 0;
            qsizetype last = line.size();
            while (first < last && line[first] == '\r') {
                ++first;
            }
            while (last > first && line[last - 1] == '\r') {
                --last;
            }
            line = line.sliced(first, last - first);
        }
    }
    return lines;
}

}  // namespace tql
