#include "files/atomicfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace tql {
namespace {

// The operator's texts here, in the language the tool runs in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(AtomicFile)
};

}  // namespace

std::optional<QString> writeFileAtomically(const QString& path, const QByteArray& bytes) {
    // Renaming over a device node or a FIFO would replace it with a plain file.
    if (const QFileInfo target(path); target.exists() && !target.isFile()) {
        return Texts::tr("無法寫入檔案 %1: 不是一般檔案").arg(QDir::toNativeSeparators(path));
    }
    QSaveFile file(path);
    // Unbuffered, so a short write (a full disk) shows in write() itself: a buffered
    // QSaveFile can commit a truncated file after its final flush came up short.
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const qint64 written = file.write(bytes);
        if (written == bytes.size() && file.commit()) {
            return std::nullopt;
        }
        const QString reason = written >= 0 && written < bytes.size()
                                   ? Texts::tr("磁碟已滿或檔案過大")
                                   : file.errorString();
        file.cancelWriting();
        return Texts::tr("無法寫入檔案 %1: %2").arg(QDir::toNativeSeparators(path), reason);
    }
    return Texts::tr("無法寫入檔案 %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
}

}  // namespace tql
