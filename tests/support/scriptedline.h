#pragma once

#include "link/serialline.h"

#include <QByteArray>
#include <QStringList>

#include <deque>
#include <vector>

namespace tql::test {

// A controller on a script: records every write and every sleep; each readAll() returns the
// next scripted reply (empty when the script has run out, like a silent controller).
class ScriptedLine final : public SerialLine {
public:
    std::optional<QString> openFailure;  // the reason the next open fails, if set
    std::deque<QByteArray> replies;
    QByteArray written;
    QStringList openedPorts;
    int reads = 0;
    bool openState = false;
    std::optional<QString> lost;
    // The line goes away at this write (0 = the next one): nothing of it or after it is
    // written, and lostReason() says so.
    std::optional<int> lostAtWrite;

    std::optional<QString> open(const QString& portName) override {
        openedPorts << portName;
        if (openFailure) {
            return openFailure;
        }
        openState = true;
        return std::nullopt;
    }
    void close() override {
        openState = false;
        lost.reset();
    }
    bool isOpen() const override { return openState; }
    void write(const QByteArray& bytes) override {
        if (lostAtWrite && (*lostAtWrite)-- == 0) {
            lost = QStringLiteral("Input/output error");
        }
        if (openState && !lost) {
            written += bytes;
        }
    }
    std::optional<QString> lostReason() const override { return lost; }
    QByteArray readAll() override {
        ++reads;
        if (replies.empty()) {
            return {};
        }
        QByteArray reply = replies.front();
        replies.pop_front();
        return reply;
    }
};

class RecordingSleeper final : public Sleeper {
public:
    std::vector<std::chrono::milliseconds> sleeps;
    void sleep(std::chrono::milliseconds duration) override { sleeps.push_back(duration); }
};

}  // namespace tql::test
