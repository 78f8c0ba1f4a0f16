#include "pseudoterminal.h"

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <utility>

namespace sim {

std::optional<Pty> Pty::open() {
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        return std::nullopt;
    }
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    return Pty(master, slave, name);
}

Pty::Pty(int master, int slave, std::string device)
    : m_master(master), m_slave(slave), m_device(std::move(device)) {}

Pty::Pty(Pty&& other) noexcept
    : m_master(std::exchange(other.m_master, -1)),
      m_slave(std::exchange(other.m_slave, -1)),
      m_device(std::move(other.m_device)) {}

void Pty::hangUp() {
    if (m_master >= 0) {
        ::close(std::exchange(m_master, -1));
    }
}

Pty::~Pty() {
    if (m_slave >= 0) {
        ::close(m_slave);
    }
    if (m_master >= 0) {
        ::close(m_master);
    }
}

}  // namespace sim
