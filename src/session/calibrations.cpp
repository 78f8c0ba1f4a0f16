#include "session/calibrations.h"

#include <QUrl>

#include <cmath>

namespace tql {
namespace {

// A port's name may hold "/", which settings read as groups: "calibration/%2Fdev%2FttyS0".
QString groupOf(const QString& port) {
    return QStringLiteral("calibration/") + QString::fromLatin1(QUrl::toPercentEncoding(port));
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

}  // namespace tql
