#pragma once

#include <optional>
#include <string>

namespace sim {

// A pseudo-terminal in raw mode: no echo of what the controller side writes, no CR/LF
// translation. Both ends are closed when it goes.
class Pty {
public:
    static std::optional<Pty> open();

    Pty(Pty&& other) noexcept;
    Pty& operator=(Pty&&) = delete;
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
    ~Pty();

    int master() const { return m_master; }
    // The controller's side goes away, as an adapter pulled out: the tool's side then fails
    // to read and write.
    void hangUp();
    // The device the tool opens, such as /dev/pts/3.
    const std::string& device() const { return m_device; }

private:
    Pty(int master, int slave, std::string device);

    int m_master;
    int m_slave;  // held open so the line does not hang up while nobody has the device open
    std::string m_device;
};

}  // namespace sim
