#include "platform/SystemComPorts.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

namespace tavrin {

namespace {

// Where a path leads when it is a link; empty when it does not exist.
std::string resolved(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).canonicalFilePath().toStdString();
}

}  // namespace

SystemComPorts::SystemComPorts(EnvLookup env, Lister lister) : env_(std::move(env)), lister_(std::move(lister)) {}

void SystemComPorts::refresh() { remap(); }

void SystemComPorts::remap() const {
    ComPortOverrides overrides{};
    bool allNamed = true;
    for (int16_t n = 1; n <= kComPorts; ++n) {
        ComPortOverride& o = overrides[static_cast<size_t>(n - 1)];
        const std::string name = "TAVRIN_COM" + std::to_string(n);
        const char* value = env_ ? env_(name.c_str()) : nullptr;
        if (value != nullptr && *value != '\0') {
            o.device = value;
            o.target = resolved(o.device);
        }
        allNamed = allNamed && !o.device.empty();
    }
    // The open port's COM stays what it is while the link runs on it.
    if (openPort_) {
        const auto [n, device] = openPort_();
        if (n >= 1 && n <= kComPorts && !device.empty()) {
            ComPortOverride& o = overrides[static_cast<size_t>(n - 1)];
            if (o.device.empty()) o = ComPortOverride{device, resolved(device)};
        }
    }
    std::vector<SystemSerialPort> ports;
    if (!allNamed && lister_) ports = lister_();
    map_ = mapComPorts(ports, overrides);
    mapped_ = true;
}

const ComPortSlot* SystemComPorts::slot(int16_t portNumber) const {
    if (portNumber < 1 || portNumber > kComPorts) return nullptr;
    if (!mapped_) remap();
    return &map_[static_cast<size_t>(portNumber - 1)];
}

std::string SystemComPorts::toolTip(int16_t portNumber) const {
    const ComPortSlot* s = slot(portNumber);
    return s != nullptr ? s->toolTip : std::string();
}

std::string SystemComPorts::device(int16_t portNumber) const {
    const ComPortSlot* s = slot(portNumber);
    return s != nullptr ? s->device : std::string();
}

std::vector<SystemSerialPort> listSystemSerialPorts(const std::string& stableFolder) {
    const std::map<std::string, std::string> stable = stableSerialPaths(stableFolder);
    std::vector<SystemSerialPort> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SystemSerialPort port;
        port.device = info.systemLocation().toStdString();
        port.description = info.description().toStdString();
        port.manufacturer = info.manufacturer().toStdString();
        const auto link = stable.find(resolved(port.device));
        if (link != stable.end()) port.stablePath = link->second;
        port.kind = serialPortKind(info.portName().toStdString(), info.hasVendorIdentifier());
        ports.push_back(std::move(port));
    }
    return ports;
}

std::map<std::string, std::string> stableSerialPaths(const std::string& folder) {
    std::map<std::string, std::string> links;
    const QDir dir(QString::fromStdString(folder));
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot)) {
        if (!entry.isSymLink()) continue;
        const std::string target = entry.canonicalFilePath().toStdString();
        if (target.empty()) continue;  // a dangling link
        const std::string link = entry.absoluteFilePath().toStdString();
        const auto [it, added] = links.emplace(target, link);
        if (!added && naturalLess(link, it->second)) it->second = link;
    }
    return links;
}

SystemSerialPort::Kind serialPortKind(const std::string& portName, bool onUsb) {
    const bool adapterName = portName.rfind("ttyUSB", 0) == 0 || portName.rfind("ttyACM", 0) == 0;
    return onUsb || adapterName ? SystemSerialPort::Kind::Adapter : SystemSerialPort::Kind::Builtin;
}

}  // namespace tavrin
