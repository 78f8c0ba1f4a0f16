#pragma once

#include <QSettings>
#include <QString>

#include <optional>
#include <vector>

// A workshop's cell: several controllers, each a name and a port of its own. The first is
// the controller the tool always had, on the port DATA.TXT names; the others are kept in
// the operator's settings (`cell/controllers`).
namespace tql {

struct CellController {
    QString name;
    QString port;

    bool operator==(const CellController&) const = default;
};

// "NAME=PORT" as `tql400 --port` takes it ("壓床=/dev/ttyUSB0"); nothing when either side
// is empty.
std::optional<CellController> parseCellController(const QString& text);

class Cell {
public:
    // The first is named "控制器 1" unless given a name (`tql400 --port`).
    explicit Cell(const QString& firstPort, const QString& firstName = {});

    const std::vector<CellController>& controllers() const { return m_controllers; }
    // Nothing when added; else why not: no name, no port, a name or a port another
    // controller has (two sessions on one port would read each other's replies).
    std::optional<QString> add(const CellController& controller);
    // Every controller but the first, which stands for DATA.TXT's port.
    bool remove(const QString& name);
    // The first's port chosen anew (設定 > COM_PORT); nothing when taken, else why not.
    std::optional<QString> setFirstPort(const QString& port);

private:
    // Why `port` may not be one more controller's, besides the controller at `except`.
    std::optional<QString> portTaken(const QString& port, size_t except) const;

    std::vector<CellController> m_controllers;
};

// The controllers beyond the first, as the settings keep them; a malformed entry is
// passed over.
std::vector<CellController> storedCellControllers(const QSettings& settings);
void storeCellControllers(QSettings& settings, const Cell& cell);

}  // namespace tql
