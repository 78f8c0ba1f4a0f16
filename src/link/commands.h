#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

// Every text the tool sends the controller and every wait it makes for an answer, in one
// place so the wire behaviour can be read here.
namespace tql::commands {

using std::chrono::milliseconds;

inline constexpr char kCarriageReturn = '\r';  // ends every command line; no LF is ever sent
inline constexpr char kEscape = '\x1b';        // two of them stop the controller's program

// Connecting and the upload's probe.
inline const QString kProbe = QStringLiteral("?VM");
inline constexpr milliseconds kProbeWait{200};
inline const QString kEchoOff = QStringLiteral("EC=0");
inline const QString kEchoOn = QStringLiteral("EC 1");  // signs off at exit
inline const QString kHoldOn = QStringLiteral("HON");
inline const QString kHoldOff = QStringLiteral("HOFF");

// Queries of the console.
inline const QString kQueryAcceleration = QStringLiteral("?VA");
inline const QString kQuerySpeed = QStringLiteral("?VM");
inline const QString kQueryPosition = QStringLiteral("?PE");
inline const QString kQueryInputs = QStringLiteral("?INP");
inline constexpr milliseconds kQueryWait{50};
inline constexpr milliseconds kCommandReplyWait{100};

// Immediate commands.
inline const QString kMoveTo = QStringLiteral("MA ");
inline const QString kSetAcceleration = QStringLiteral("VA=");
inline const QString kSetSpeed = QStringLiteral("VM=");
inline const QString kSaveParameters = QStringLiteral("SAVE C");
inline const QString kHome = QStringLiteral("H");
inline const QString kSetOutput = QStringLiteral("SET P");
inline const QString kClearOutput = QStringLiteral("CLR P");

// The upload.
inline const QString kDownload = QStringLiteral("DL");
inline const QString kSaveProgram = QStringLiteral("SAVE P");
inline const QString kGo = QStringLiteral("G");
inline constexpr milliseconds kBeforeGoWait{100};

}  // namespace tql::commands
