#include "session/portrecords.h"

#include "session/runhistory.h"

#include <QCoreApplication>
#include <QLocale>
#include <QUrl>

#include <cmath>

namespace tql {
namespace {

// A port's name may hold "/", which settings read as groups: "calibration/%2Fdev%2FttyS0".
QString groupOf(const QString& port, QStringView kept = u"calibration") {
    return kept.toString() + u'/' + QString::fromLatin1(QUrl::toPercentEncoding(port));
}

std::optional<double> number(const QSettings& settings, const QString& key) {
    bool read = false;
    const double value = settings.value(key).toDouble(&read);
    return read && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

}  // namespace

std::optional<Calibration> storedCalibration(const QSettings& settings, const QString& port) {
    const QString group = groupOf(port);
    const std::optional<double> speed = number(settings, group + QStringLiteral("/speed"));
    const std::optional<double> ramp = number(settings, group + QStringLiteral("/ramp"));
    const std::optional<double> residual = number(settings, group + QStringLiteral("/residual"));
    const std::optional<double> moves = number(settings, group + QStringLiteral("/moves"));
    if (!speed || !ramp || !residual || !moves || *speed <= 0 || *ramp < 0 || *residual < 0 ||
        *moves < 2) {
        return std::nullopt;
    }
    return Calibration{{*speed, *ramp}, *residual, int(*moves)};
}

void storeCalibration(QSettings& settings, const QString& port, const Calibration& calibration) {
    const QString group = groupOf(port);
    settings.setValue(group + QStringLiteral("/speed"), calibration.motion.speed);
    settings.setValue(group + QStringLiteral("/ramp"), calibration.motion.ramp);
    settings.setValue(group + QStringLiteral("/residual"), calibration.residual);
    settings.setValue(group + QStringLiteral("/moves"), calibration.moves);
}

std::optional<UploadRecord> lastUpload(const QSettings& settings, const QString& port) {
    const QString group = groupOf(port, u"upload");
    UploadRecord upload{settings.value(group + QStringLiteral("/hash")).toString(),
                        settings.value(group + QStringLiteral("/stored")).toBool(),
                        settings.value(group + QStringLiteral("/when")).toDateTime()};
    if (upload.hash.isEmpty() || !upload.when.isValid()) {
        return std::nullopt;
    }
    return upload;
}

void recordUpload(QSettings& settings, const QString& port, const UploadRecord& upload) {
    const QString group = groupOf(port, u"upload");
    settings.setValue(group + QStringLiteral("/hash"), upload.hash);
    settings.setValue(group + QStringLiteral("/stored"), upload.stored);
    settings.setValue(group + QStringLiteral("/when"), upload.when);
}

std::optional<QString> programDiffers(const QSettings& settings, const QString& port,
                                      const ProgramTable& table, int rowCounter) {
    const std::optional<UploadRecord> upload = lastUpload(settings, port);
    if (!upload || upload->hash == programHash(table, rowCounter)) {
        return std::nullopt;
    }
    return QCoreApplication::translate("PortRecords",
                                       "控制器中的程式與編輯中的不同 (上次上傳: %1, %2)")
        .arg(QLocale().toString(upload->when.toLocalTime(), QStringLiteral("yyyy-MM-dd HH:mm")),
             upload->stored ? QCoreApplication::translate("PortRecords", "已儲存")
                            : QCoreApplication::translate("PortRecords", "未儲存"));
}

}  // namespace tql
