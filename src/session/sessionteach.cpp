// The teach dialog's exchanges of the controller session: the slide held or freed, its
// position read, a move sent.
#include "link/commands.h"
#include "link/console.h"
#include "session/controllersession.h"
#include "session/fieldtext.h"

namespace tql {

Exchange ControllerSession::moveTo(const QString& target) {
    if (lineHeld()) {
        return Exchange::LineHeld;
    }
    if (!m_link.isOpen()) {
        return Exchange::NotSent;
    }
    m_link.write(commands::kMoveTo);
    m_link.write(target);
    m_link.writeCarriageReturn();
    return Exchange::Done;
}

Exchange ControllerSession::holdSlide(bool held) {
    if (lineHeld()) {
        return Exchange::LineHeld;
    }
    if (!m_link.isOpen()) {
        return Exchange::NotSent;
    }
    writeHold(held);
    return Exchange::Done;
}

void ControllerSession::writeHold(bool held) {
    m_link.write(held ? commands::kHoldOn : commands::kHoldOff);
    m_link.writeCarriageReturn();
    m_slideFree = !held;
}

// Over a line still there: a lost one carries nothing.
void ControllerSession::holdFreedSlide() {
    if (m_slideFree && m_link.isOpen() && !m_link.lostReason()) {
        writeHold(true);
    }
}

std::optional<QString> ControllerSession::readPosition() {
    if (lineHeld()) {
        return std::nullopt;
    }
    RS232(commands::kQueryPosition);
    m_link.sleep(commands::kQueryWait);
    return m_link.readAll();
}

}  // namespace tql
