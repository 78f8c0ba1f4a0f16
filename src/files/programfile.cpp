#include "files/programfile.h"

#include "files/atomicfile.h"
#include "files/big5.h"
#include "program/rowkinds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <variant>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>

namespace tql {
namespace {

// The operator's texts here, in the language the tool runs in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(ProgramFile)
};

constexpr int kShortestLine = 13;
constexpr QChar kQuote = u'"';

bool isPlainRow(const Row& row) {
    for (int c = 0; c < kColumns; ++c) {
        if (row[c].contains(kQuote)) {
            return false;
        }
        if (c < kColumns - 1 && (row[c].size() >= kColumnWidth || row[c].endsWith(u' '))) {
            return false;
        }
    }
    return true;
}

bool needsQuotes(const QString& text) {
    return text.isEmpty() || text.contains(u' ') || text.contains(kQuote) ||
           text.size() >= kColumnWidth;
}

QString quoted(const QString& text) {
    QString doubled = text;
    doubled.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return kQuote + doubled + kQuote;
}

// Lines the tool writes for plain rows: 48 characters or more, a space closing each of the
// four 12-character columns, no quote anywhere.
bool hasColumnShape(const QString& line) {
    if (line.size() < 4 * kColumnWidth || line.contains(kQuote)) {
        return false;
    }
    for (int k = 1; k <= 4; ++k) {
        if (line[k * kColumnWidth - 1] != u' ') {
            return false;
        }
    }
    return true;
}

QString withoutTrailingSpaces(QString text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ') {
        --end;
    }
    text.truncate(end);
    return text;
}

QStringList splitAtSpaces(const QString& line) {
    QStringList fields;
    qsizetype i = 0;
    const qsizetype n = line.size();
    // The first field starts at the first character, even a space (an empty first field).
    bool first = true;
    while (i < n || first) {
        if (!first) {
            while (i < n && line[i] == u' ') {
                ++i;
            }
            if (i >= n) {
                break;
            }
        }
        first = false;
        QString field;
        bool inQuotes = i < n && line[i] == kQuote;
        if (inQuotes) {
            ++i;
        }
        while (i < n) {
            const QChar c = line[i];
            if (inQuotes) {
                if (c == kQuote) {
                    if (i + 1 < n && line[i + 1] == kQuote) {
                        field += kQuote;
                        i += 2;
                        continue;
                    }
                    inQuotes = false;
                    ++i;
                    continue;
                }
            } else if (c == u' ') {
                break;
            }
            field += c;
            ++i;
        }
        fields << field;
    }
    return fields;
}

}  // namespace

QString formatRow(const Row& row) {
    const bool plain = isPlainRow(row);
    QString line;
    for (int c = 0; c < kColumns; ++c) {
        const QString text = plain || !needsQuotes(row[c]) ? row[c] : quoted(row[c]);
        line += text;
        if (c < kColumns - 1) {
            line += QString(std::max<qsizetype>(kColumnWidth - text.size(), 1), u' ');
        }
    }
    return line;
}

QStringList parseLine(const QString& line) {
    if (!hasColumnShape(line)) {
        return splitAtSpaces(line);
    }
    QStringList fields;
    for (int k = 0; k < 4; ++k) {
        fields << withoutTrailingSpaces(line.mid(k * kColumnWidth, kColumnWidth));
    }
    fields << line.mid(4 * kColumnWidth);
    return fields;
}

Encoded encodeProgram(const ProgramTable& table, int RowCounter) {
    QByteArray bytes;
    for (int i = 0; i <= std::min(RowCounter, kMaxProgramRows); ++i) {
        const QString text = formatRow(table[i]);
        // A line break or NUL inside a text would split the row or make the file unreadable.
        if (text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(0))) {
            return {{}, Texts::tr("第 %1 列有換行或控制字元, 無法存檔!").arg(i)};
        }
        const std::optional<QByteArray> line = encodeBig5(text);
        if (!line) {
            return {{}, Texts::tr("第 %1 列有 Big5 無法表示的字元, 無法存檔!").arg(i)};
        }
        // The file would not open again.
        if (line->size() > kMaxFileLineBytes) {
            return {{},
                    Texts::tr("第 %1 列超過 %2 位元組, 無法存檔!").arg(i).arg(kMaxFileLineBytes)};
        }
        bytes += *line + "\r\n";
    }
    return {bytes, {}};
}

namespace {

// The program rows decide the encoding: a damaged header row must not cost the program.
// Otherwise the number of the first line no encoding reads.
std::variant<TextEncoding, qsizetype> encodingOf(const QByteArray& bytes,
                                                 const QList<QByteArray>& lines) {
    QByteArray body;
    for (qsizetype n = 1; n < lines.size(); ++n) {
        body += lines[n] + '\n';
    }
    const bool marked = bytes.startsWith("\xEF\xBB\xBF");
    if (const std::optional<TextEncoding> encoding = detectEncoding(marked ? bytes : body)) {
        return *encoding;
    }
    qsizetype bad = 1;
    while (bad + 1 < lines.size() && isBig5Text(lines[bad])) {
        ++bad;
    }
    return bad + 1;
}

// A line too short to be a row ends the program; what follows it is said, not lost unseen.
QString shortLineNotice(const QList<QByteArray>& lines, qsizetype n, bool cut) {
    const auto unread = std::count_if(lines.begin() + n + 1, lines.end(),
                                      [](const QByteArray& l) { return !l.trimmed().isEmpty(); });
    if (unread == 0) {
        return {};
    }
    return Texts::tr("第 %1 行過短, 讀取到此為止; 之後還有 %2 行%3未讀入.")
        .arg(n + 1)
        .arg(unread)
        .arg(cut ? Texts::tr("以上") : QString());
}

}  // namespace

LoadResult decodeProgram(const QByteArray& bytes, bool cut) {
    const auto refuse = [](const QString& why) { return LoadResult{std::nullopt, why, {}}; };
    if (bytes.contains('\0')) {
        return refuse(Texts::tr("不是程式檔 (含有二進位資料), 無法開啟!"));
    }
    const QList<QByteArray> lines = splitLines(bytes);
    const std::variant<TextEncoding, qsizetype> detected = encodingOf(bytes, lines);
    if (const qsizetype* bad = std::get_if<qsizetype>(&detected)) {
        return refuse(Texts::tr("不是程式檔 (第 %1 行有無法辨識的字元), 無法開啟!").arg(*bad));
    }
    const TextEncoding encoding = std::get<TextEncoding>(detected);

    LoadedProgram program;
    QString notice;
    int accepted = 0;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const std::optional<QString> decoded = decodeAs(encoding, lines[n]);
        // A header row Big5 cannot hold could never be saved again: take the standard one.
        if (n == 0 && (!decoded || !encodeBig5(*decoded))) {
            program.table[0] = headerRow();
            notice = Texts::tr("第 1 行的標題列無法辨識, 已改用標準標題列.");
            ++accepted;
            continue;
        }
        const QString line = decoded.value_or(QString());
        if (line.size() < kShortestLine) {
            if (const QString unread = shortLineNotice(lines, n, cut);
                accepted > 0 && !unread.isEmpty()) {
                notice += (notice.isEmpty() ? QString() : QStringLiteral("\n")) + unread;
            }
            break;
        }
        if (accepted == kTableRows) {
            return refuse(Texts::tr("第 %1 行: 程式超過500列, 無法開啟!").arg(n + 1));
        }
        const QStringList fields = parseLine(line);
        if (fields.size() > kColumns) {
            return refuse(Texts::tr("第 %1 行超過五個欄位, 無法開啟!").arg(n + 1));
        }
        for (int c = 0; c < fields.size(); ++c) {
            program.table[accepted][c] = fields[c];
        }
        ++accepted;
    }
    if (accepted == 0) {
        return refuse(Texts::tr("檔案中沒有程式資料, 無法開啟!"));
    }
    program.RowCounter = accepted - 1;
    return {program, {}, notice};
}

QString rowsText(const std::vector<Row>& rows) {
    QString text;
    for (const Row& row : rows) {
        text += formatRow(row) + u'\n';
    }
    return text;
}

std::optional<std::vector<Row>> rowsFromText(const QString& text) {
    std::vector<Row> rows;
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        if (line.trimmed().isEmpty()) {
            continue;
        }
        const QStringList fields = parseLine(line);
        if (rows.empty() && !fields.isEmpty() && fields.front() == headerRow()[0]) {
            continue;
        }
        if (fields.isEmpty() || fields.size() > kColumns || rowKind(fields.front()) == nullptr ||
            int(rows.size()) == kMaxProgramRows) {
            return std::nullopt;
        }
        Row row;
        for (int c = 0; c < fields.size(); ++c) {
            row[size_t(c)] = fields[c];
        }
        rows.push_back(row);
    }
    if (rows.empty()) {
        return std::nullopt;
    }
    return rows;
}

FileBytes readProgramBytes(QIODevice& device) {
    // Line ends are LF when the file has any, else CR; until an LF shows, a CR may end a
    // line, so both counts run.
    constexpr qsizetype kLinesWanted = kTableRows + 1;
    FileBytes read;
    qsizetype lfs = 0;
    qsizetype crs = 0;
    qsizetype sinceLf = 0;
    qsizetype sinceAny = 0;
    char chunk[16384];
    while (true) {
        const qint64 got = device.read(chunk, sizeof chunk);
        if (got < 0) {
            read.error = Texts::tr("讀取失敗: %1").arg(device.errorString());
            return read;
        }
        if (got == 0) {
            return read;
        }
        for (qint64 k = 0; k < got; ++k) {
            const char c = chunk[k];
            if (c == '\n') {
                ++lfs;
                sinceLf = sinceAny = 0;
            } else if (c == '\r') {
                ++crs;
                ++sinceLf;
                sinceAny = 0;
            } else {
                ++sinceLf;
                ++sinceAny;
            }
            const qsizetype lineBytes = lfs > 0 ? sinceLf : sinceAny;
            if (lineBytes > kMaxFileLineBytes) {
                read.error = Texts::tr("不是程式檔 (第 %1 行超過 %2 位元組), 無法開啟!")
                                 .arg((lfs > 0 ? lfs : crs) + 1)
                                 .arg(kMaxFileLineBytes);
                return read;
            }
            if (lfs == kLinesWanted || (lfs == 0 && crs == kLinesWanted)) {
                read.bytes.append(chunk, qsizetype(k + 1));
                read.cut = !device.atEnd() || k + 1 < got;
                return read;
            }
        }
        read.bytes.append(chunk, qsizetype(got));
    }
}

namespace {

LoadResult refusal(const QString& name, const QString& why) {
    return LoadResult{std::nullopt, Texts::tr("無法開啟檔案 %1: %2").arg(name, why), {}};
}

// The bytes of an open file as a program; a refusal names the file.
LoadResult loadOpened(QFile& file, const QString& name) {
    const FileBytes read = readProgramBytes(file);
    LoadResult result = read.error.isEmpty() ? decodeProgram(read.bytes, read.cut)
                                             : LoadResult{std::nullopt, read.error, {}};
    if (!result.program) {
        result.error = QStringLiteral("%1:\n%2").arg(name, result.error);
    }
    return result;
}

}  // namespace

LoadResult loadProgramFile(const QString& path) {
    const QString name = QDir::toNativeSeparators(path);
    if (path.isEmpty()) {
        return refusal(name, Texts::tr("沒有檔名"));
    }
    if (const QFileInfo info(path); info.exists() && !info.isFile()) {
        return refusal(name, Texts::tr("不是一般檔案"));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return refusal(name, file.errorString());
    }
    return loadOpened(file, name);
}

QString NativeName::path() const {
    const QString decoded = QFile::decodeName(bytes);
    return QFile::encodeName(decoded) == bytes ? decoded : QString();
}

QString NativeName::shown() const {
    if (const QString decoded = path(); !decoded.isEmpty() || bytes.isEmpty()) {
        return QDir::toNativeSeparators(decoded);
    }
    const QString big5 = decodeBig5(bytes);
    const bool isBig5 = std::none_of(big5.begin(), big5.end(), [](QChar c) {
        return c == QChar::ReplacementCharacter || (c.unicode() >= 0x80 && c.unicode() < 0xA0) ||
               (c.unicode() >= 0xE000 && c.unicode() < 0xF900);
    });
    return isBig5 ? big5 : QFile::decodeName(bytes);
}

LoadResult loadProgramFile(const NativeName& name) {
    if (const QString path = name.path(); !path.isEmpty() || name.bytes.isEmpty()) {
        return loadProgramFile(path);
    }
#ifdef Q_OS_UNIX
    // Opened and looked at by its bytes: Qt's text cannot name it.
    const QString shown = name.shown();
    struct stat info {};
    if (::stat(name.bytes.constData(), &info) != 0) {
        return refusal(shown, QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (!S_ISREG(info.st_mode)) {
        return refusal(shown, Texts::tr("不是一般檔案"));
    }
    const int fd = ::open(name.bytes.constData(), O_RDONLY | O_CLOEXEC);
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0) {
            ::close(fd);
        }
        return refusal(shown, QString::fromLocal8Bit(std::strerror(errno)));
    }
    return loadOpened(file, shown);
#else
    return loadProgramFile(QFile::decodeName(name.bytes));
#endif
}

SaveResult saveProgramFile(const QString& path, const ProgramTable& table, int RowCounter) {
    if (RowCounter <= 0) {
        return {SaveStatus::NothingToWrite, {}};
    }
    const Encoded encoded = encodeProgram(table, RowCounter);
    if (!encoded.error.isEmpty()) {
        return {SaveStatus::Failed, encoded.error};
    }
    if (const auto failure = writeFileAtomically(path, encoded.bytes)) {
        return {SaveStatus::Failed, *failure};
    }
    return {SaveStatus::Written, {}};
}

}  // namespace tql
