#include "files/tracefile.h"

#include "files/atomicfile.h"
#include "files/big5.h"

#include <QCoreApplication>
#include <QDir>

namespace tql {
namespace {

// The operator's texts here, in the language the tool runs in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(TraceFile)
};

}  // namespace

QString traceFilePath(const QString& controller) {
    QString name = QStringLiteral("TRY.txt");
    if (!controller.isEmpty()) {
        QString part = controller;
        for (QChar& c : part) {
            if (QStringView(u"/\\:*?\"<>|").contains(c) || c.unicode() < 0x20) {
                c = u'_';
            }
        }
        name = QStringLiteral("TRY-%1.txt").arg(part);
    }
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\") + name;
#else
    return QDir::home().filePath(name);
#endif
}

std::optional<QString> writeTextLines(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QByteArray> line = encodeBig5(lines[i]);
        if (!line) {
            return Texts::tr("第 %1 行有 Big5 無法表示的字元: %2").arg(i + 1).arg(lines[i]);
        }
        bytes += *line + "\r\n";
    }
    if (const auto failure = writeFileAtomically(path, bytes)) {
        return failure;
    }
    return std::nullopt;
}

}  // namespace tql
