#pragma once

#include <QString>

namespace tql {

// What the teach dialog may do on the line, and nothing more: hold or free the slide,
// read its position, move it to a target. The controller session implements it; every
// exchange waits its fixed time, and none talks while another exchange holds the line.
class TeachLine {
public:
    virtual ~TeachLine() = default;

    // The port is open.
    virtual bool isConnected() const = 0;
    // The upload, a question or a box holds the line: an exchange now would land inside it.
    virtual bool lineHeld() const = 0;
    // "HON" (held: the slide keeps its place) or "HOFF" (free: pushed by hand), then CR.
    virtual void holdSlide(bool held) = 0;
    // A "HOFF" went out and no "HON" since: the slide is free (a vertical axis would fall).
    virtual bool slideFree() const = 0;
    // "?PE", 50 ms, and whatever has arrived, unchanged.
    virtual QString readPosition() = 0;
    // "MA ", the target and CR as three writes; nothing while closed or held.
    virtual void moveTo(const QString& target) = 0;
};

}  // namespace tql
