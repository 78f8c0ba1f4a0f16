#include "session/cell.h"

#include "link/portname.h"

#include <QCoreApplication>

#include <algorithm>

namespace tql {
namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(Cell)
};

const QString kKey = QStringLiteral("cell/controllers");

}  // namespace

std::optional<CellController> parseCellController(const QString& text) {
    const qsizetype equals = text.indexOf(u'=');
    if (equals <= 0) {
        return std::nullopt;
    }
    CellController controller{text.left(equals).trimmed(), text.mid(equals + 1).trimmed()};
    if (controller.name.isEmpty() || controller.port.isEmpty()) {
        return std::nullopt;
    }
    return controller;
}

Cell::Cell(const QString& firstPort, const QString& firstName)
    : m_controllers{{firstName.isEmpty() ? Texts::tr("控制器 1") : firstName, firstPort}} {}

std::optional<QString> Cell::add(const CellController& controller) {
    const QString name = controller.name.trimmed();
    const QString port = controller.port.trimmed();
    if (name.isEmpty()) {
        return Texts::tr("控制器需要一個名稱.");
    }
    if (name.contains(u'=')) {  // "NAME=PORT" is how it is kept and given
        return Texts::tr("控制器的名稱不能含有「=」: %1").arg(name);
    }
    if (port.isEmpty()) {
        return Texts::tr("控制器「%1」需要一個連接埠.").arg(name);
    }
    for (const CellController& other : m_controllers) {
        if (other.name == name) {
            return Texts::tr("已有名為「%1」的控制器.").arg(name);
        }
    }
    if (std::optional<QString> taken = portTaken(port, m_controllers.size())) {
        return taken;
    }
    m_controllers.push_back({name, port});
    return std::nullopt;
}

std::optional<QString> Cell::setFirstPort(const QString& port) {
    if (std::optional<QString> taken = portTaken(port, 0)) {
        return taken;
    }
    m_controllers.front().port = port;
    return std::nullopt;
}

std::optional<QString> Cell::portTaken(const QString& port, size_t except) const {
    for (size_t k = 0; k < m_controllers.size(); ++k) {
        if (k != except && samePort(m_controllers[k].port, port)) {
            return Texts::tr("連接埠 %1 已由控制器「%2」使用.")
                .arg(portDisplayName(port), m_controllers[k].name);
        }
    }
    return std::nullopt;
}

bool Cell::remove(const QString& name) {
    const auto found = std::find_if(m_controllers.begin() + 1, m_controllers.end(),
                                    [&](const CellController& c) { return c.name == name; });
    if (found == m_controllers.end()) {
        return false;
    }
    m_controllers.erase(found);
    return true;
}

std::vector<CellController> storedCellControllers(const QSettings& settings) {
    std::vector<CellController> controllers;
    for (const QString& entry : settings.value(kKey).toStringList()) {
        if (const std::optional<CellController> controller = parseCellController(entry)) {
            controllers.push_back(*controller);
        }
    }
    return controllers;
}

void storeCellControllers(QSettings& settings, const Cell& cell) {
    QStringList entries;
    for (auto c = cell.controllers().begin() + 1; c != cell.controllers().end(); ++c) {
        entries << c->name + u'=' + c->port;
    }
    settings.setValue(kKey, entries);
}

}  // namespace tql
