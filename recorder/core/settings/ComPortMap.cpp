#include "core/settings/ComPortMap.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace tavrin {

namespace {

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Adapters with a stable path, adapters without, built-in ports.
int group(const SystemSerialPort& port) {
    if (port.kind == SystemSerialPort::Kind::Builtin) return 2;
    return port.stablePath.empty() ? 1 : 0;
}

bool portLess(const SystemSerialPort& a, const SystemSerialPort& b) {
    if (group(a) != group(b)) return group(a) < group(b);
    if (a.stablePath != b.stablePath) return naturalLess(a.stablePath, b.stablePath);
    return naturalLess(a.device, b.device);
}

bool names(const ComPortOverride& o, const SystemSerialPort& port) {
    if (o.device.empty()) return false;
    return o.device == port.device || (!port.stablePath.empty() && o.device == port.stablePath) ||
           (!o.target.empty() && o.target == port.device);
}

// What the system says the port is.
std::string description(const SystemSerialPort& port) {
    std::string text;
    for (const std::string* part : {&port.description, &port.manufacturer}) {
        if (part->empty() || *part == text) continue;
        text += text.empty() ? *part : ", " + *part;
    }
    if (text.empty())
        text = port.kind == SystemSerialPort::Kind::Adapter ? "USB serial adapter" : "Built-in serial port";
    return text;
}

}  // namespace

bool naturalLess(const std::string& a, const std::string& b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            size_t ie = i;
            size_t je = j;
            while (ie < a.size() && isDigit(a[ie])) ++ie;
            while (je < b.size() && isDigit(b[je])) ++je;
            // Numbers compare by value: skip leading zeros, then the longer
            // run is the larger, then digit by digit.
            size_t is = i;
            size_t js = j;
            while (is + 1 < ie && a[is] == '0') ++is;
            while (js + 1 < je && b[js] == '0') ++js;
            const auto av = a.substr(is, ie - is);
            const auto bv = b.substr(js, je - js);
            if (av.size() != bv.size()) return av.size() < bv.size();
            if (av != bv) return av < bv;
            // Equal values: fewer leading zeros first, so the order is total.
            if (ie - i != je - j) return ie - i < je - j;
            i = ie;
            j = je;
            continue;
        }
        if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

ComPortMap mapComPorts(const std::vector<SystemSerialPort>& ports, const ComPortOverrides& overrides) {
    std::vector<SystemSerialPort> free;
    for (const SystemSerialPort& port : ports) {
        if (port.device.empty()) continue;
        const bool named = std::any_of(overrides.begin(), overrides.end(),
                                       [&](const ComPortOverride& o) { return names(o, port); });
        const bool seen = std::any_of(free.begin(), free.end(),
                                      [&](const SystemSerialPort& p) { return p.device == port.device; });
        if (!named && !seen) free.push_back(port);
    }
    std::sort(free.begin(), free.end(), portLess);

    ComPortMap map;
    size_t next = 0;
    for (size_t i = 0; i < map.size(); ++i) {
        ComPortSlot& slot = map[i];
        const ComPortOverride& o = overrides[i];
        if (!o.device.empty()) {
            slot.device = o.device;
            const auto listed =
                std::find_if(ports.begin(), ports.end(), [&](const SystemSerialPort& p) { return names(o, p); });
            slot.toolTip = o.device + " - " +
                           (listed != ports.end() ? description(*listed)
                                                  : "named in TAVRIN_COM" + std::to_string(i + 1));
        } else if (next < free.size()) {
            slot.device = free[next].device;
            slot.toolTip = slot.device + " - " + description(free[next]);
            ++next;
        } else {
            slot.toolTip = "No serial device";
        }
    }
    return map;
}

}  // namespace tavrin
