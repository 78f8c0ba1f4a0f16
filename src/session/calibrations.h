#pragma once

#include "translator/calibration.h"

#include <QSettings>
#include <QString>

#include <optional>

// The calibrations an operator made, one for each port: the machine on a port is the one
// its runs were measured on. Kept in the operator's settings (userSettings()).
namespace tql {

// Nothing when none was kept for the port, or what was kept is no calibration.
std::optional<Calibration> storedCalibration(const QSettings& settings, const QString& port);
void storeCalibration(QSettings& settings, const QString& port, const Calibration& calibration);

}  // namespace tql
