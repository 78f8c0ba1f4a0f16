#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace tql {

// What became of a verb that writes on the line.
enum class Exchange {
    Done,     // it went on the line as asked
    NotSent,  // nothing went out, and the session told the operator why (a field that is no
              // number, a text Big5 cannot hold, a closed port, a question answered No)
    // Another exchange holds the line (the upload, a box): nothing went out, and the caller
    // tells the operator (lineHeldMessage), so nothing lands inside that exchange.
    LineHeld,
};

// "控制器通訊中 (上傳或詢問), 請稍後再試!": what the operator is told of a verb refused so.
QString lineHeldMessage();

// What the teach dialog may do on the line, and nothing more: hold or free the slide,
// read its position, move it to a target. The controller session implements it; every
// exchange waits its fixed time, and none talks while another exchange holds the line:
// each is refused then, and says so.
class TeachLine {
public:
    virtual ~TeachLine() = default;

    // The port is open.
    virtual bool isConnected() const = 0;
    // The upload, a question or a box holds the line: an exchange now would land inside it.
    virtual bool lineHeld() const = 0;
    // "HON" (held: the slide keeps its place) or "HOFF" (free: pushed by hand), then CR;
    // nothing while closed.
    virtual Exchange holdSlide(bool held) = 0;
    // A "HOFF" went out and no "HON" since: the slide is free (a vertical axis would fall).
    virtual bool slideFree() const = 0;
    // "?PE", 50 ms, and whatever has arrived, unchanged, handed to `read` when it is in;
    // nothing while the line is held. `read` is called on the caller's thread.
    virtual void readPosition(std::function<void(const std::optional<QString>&)> read) = 0;
    // "MA ", the target and CR as three writes; nothing while closed.
    virtual Exchange moveTo(const QString& target) = 0;
};

}  // namespace tql
