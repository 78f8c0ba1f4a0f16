#pragma once

#include "program/programtable.h"
#include "translator/calibration.h"

#include <QDateTime>
#include <QSettings>
#include <QString>

#include <optional>

// What the tool keeps of the machine on each port, in the operator's settings
// (userSettings()): the calibration its runs were measured to, and the program this tool
// last uploaded to it. The machine on a port is the one its runs were measured on.
namespace tql {

// Nothing when none was kept for the port, or what was kept is no calibration.
std::optional<Calibration> storedCalibration(const QSettings& settings, const QString& port);
void storeCalibration(QSettings& settings, const QString& port, const Calibration& calibration);

// A program downloaded whole: its rows' hash (programHash), whether "SAVE P" stored it,
// and when.
struct UploadRecord {
    QString hash;
    bool stored = false;
    QDateTime when;
};
std::optional<UploadRecord> lastUpload(const QSettings& settings, const QString& port);
void recordUpload(QSettings& settings, const QString& port, const UploadRecord& upload);

// "控制器中的程式與編輯中的不同 (上次上傳: …)" when the program this tool last uploaded on the
// port is not the one in the editor; nothing when it is, or when nothing was uploaded there.
std::optional<QString> programDiffers(const QSettings& settings, const QString& port,
                                      const ProgramTable& table, int rowCounter);

}  // namespace tql
