#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/settings/ComPortMap.h"

namespace tavrin {
namespace {

using Kind = SystemSerialPort::Kind;

SystemSerialPort usb(const std::string& name, const std::string& socket, const std::string& description = "",
                     const std::string& manufacturer = "") {
    return {"/dev/" + name, description, manufacturer,
            socket.empty() ? "" : "/dev/serial/by-path/pci-0000:00:14.0-usb-0:" + socket + ":1.0-port0",
            Kind::Adapter};
}

SystemSerialPort uart(const std::string& name) { return {"/dev/" + name, "", "", "", Kind::Builtin}; }

ComPortOverrides named(std::initializer_list<std::pair<int, std::string>> devices) {
    ComPortOverrides overrides{};
    for (const auto& [n, device] : devices) overrides[static_cast<size_t>(n - 1)].device = device;
    return overrides;
}

// The devices of COM 1..10, "-" for none, joined by spaces.
std::string devices(const ComPortMap& map) {
    std::string text;
    for (const ComPortSlot& slot : map) {
        if (!text.empty()) text += ' ';
        text += slot.device.empty() ? "-" : slot.device.substr(slot.device.rfind('/') + 1);
    }
    return text;
}

struct MapCase {
    const char* name;
    std::vector<SystemSerialPort> ports;
    ComPortOverrides overrides;
    const char* expected;
};

class ComPortMapping : public testing::TestWithParam<MapCase> {};

TEST_P(ComPortMapping, GivesEachComItsDevice) {
    const MapCase& c = GetParam();
    EXPECT_EQ(devices(mapComPorts(c.ports, c.overrides)), c.expected);
    // The system's order of listing makes no difference.
    std::vector<SystemSerialPort> reversed(c.ports.rbegin(), c.ports.rend());
    EXPECT_EQ(devices(mapComPorts(reversed, c.overrides)), c.expected);
}

std::vector<SystemSerialPort> uarts(int count) {
    std::vector<SystemSerialPort> ports;
    for (int i = 0; i < count; ++i) ports.push_back(uart("ttyS" + std::to_string(i)));
    return ports;
}

// Two adapters in sockets 2 and 5 of the hub, named in the order they were
// plugged in: COM 1 stays the adapter in socket 2 whatever its name.
const std::vector<SystemSerialPort> kPluggedInOrder = {usb("ttyUSB0", "2"), usb("ttyUSB1", "5"), uart("ttyS0")};
const std::vector<SystemSerialPort> kPluggedOtherWay = {usb("ttyUSB1", "2"), usb("ttyUSB0", "5"), uart("ttyS0")};

INSTANTIATE_TEST_SUITE_P(
    Ports, ComPortMapping,
    testing::Values(
        MapCase{"no ports", {}, {}, "- - - - - - - - - -"},
        MapCase{"built-in ports in natural order", {uart("ttyS10"), uart("ttyS2"), uart("ttyS1"), uart("ttyS0")},
                {}, "ttyS0 ttyS1 ttyS2 ttyS10 - - - - - -"},
        MapCase{"adapters before built-in ports",
                {uart("ttyS0"), uart("ttyS1"), usb("ttyACM0", "3"), usb("ttyUSB0", "1")}, {},
                "ttyUSB0 ttyACM0 ttyS0 ttyS1 - - - - - -"},
        MapCase{"adapters keep their socket's COM", kPluggedInOrder, {}, "ttyUSB0 ttyUSB1 ttyS0 - - - - - - -"},
        MapCase{"plugged in the other way", kPluggedOtherWay, {}, "ttyUSB1 ttyUSB0 ttyS0 - - - - - - -"},
        MapCase{"sockets in number order", {usb("ttyUSB0", "10"), usb("ttyUSB1", "9")}, {},
                "ttyUSB1 ttyUSB0 - - - - - - - -"},
        MapCase{"the first adapter unplugged", {usb("ttyUSB1", "5"), uart("ttyS0")}, {},
                "ttyUSB1 ttyS0 - - - - - - - -"},
        MapCase{"adapters without a stable path after those with one, by name",
                {usb("ttyUSB10", ""), usb("ttyUSB9", ""), usb("ttyACM3", "4"), uart("ttyS0")}, {},
                "ttyACM3 ttyUSB9 ttyUSB10 ttyS0 - - - - - -"},
        MapCase{"an override wins and its device is not offered twice", kPluggedInOrder,
                named({{3, "/dev/ttyUSB0"}}), "ttyUSB1 ttyS0 ttyUSB0 - - - - - - -"},
        MapCase{"an override by stable path names the same device",
                kPluggedInOrder, named({{2, "/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0"}}),
                "ttyUSB1 pci-0000:00:14.0-usb-0:2:1.0-port0 ttyS0 - - - - - - -"},
        MapCase{"a pseudo-terminal override and the ports after it", uarts(3), named({{1, "/dev/pts/4"}}),
                "4 ttyS0 ttyS1 ttyS2 - - - - - -"},
        MapCase{"overrides beyond the listed ports", {uart("ttyS0")},
                named({{10, "/dev/pts/1"}, {5, "/nonexistent/com5"}}), "ttyS0 - - - com5 - - - - 1"},
        MapCase{"more than ten ports: the first ten", uarts(12),
                {}, "ttyS0 ttyS1 ttyS2 ttyS3 ttyS4 ttyS5 ttyS6 ttyS7 ttyS8 ttyS9"},
        MapCase{"an override reaches beyond the tenth", uarts(12), named({{1, "/dev/ttyS11"}}),
                "ttyS11 ttyS0 ttyS1 ttyS2 ttyS3 ttyS4 ttyS5 ttyS6 ttyS7 ttyS8"},
        MapCase{"a device listed twice counts once", {uart("ttyS0"), uart("ttyS0")}, {},
                "ttyS0 - - - - - - - - -"}),
    [](const testing::TestParamInfo<MapCase>& param) {
        std::string name = param.param.name;
        std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); },
                        '_');
        return name;
    });

TEST(ComPortMapping, AnOverrideLinkIsRecognisedByItsTarget) {
    ComPortOverrides overrides{};
    overrides[0] = {"/dev/serial/by-id/usb-FTDI_FT232R-if00-port0", "/dev/ttyUSB1"};
    const ComPortMap map = mapComPorts(kPluggedInOrder, overrides);
    EXPECT_EQ(devices(map), "usb-FTDI_FT232R-if00-port0 ttyUSB0 ttyS0 - - - - - - -");
}

TEST(ComPortMapping, ToolTipsTellWhatEachComIs) {
    const std::vector<SystemSerialPort> ports = {
        usb("ttyUSB0", "2", "FT232R USB UART", "FTDI"),
        usb("ttyACM0", "3", "", "Arduino"),
        usb("ttyUSB1", "4"),
        {"/dev/ttyUSB2", "Same", "Same", "", Kind::Adapter},
        uart("ttyS0"),
    };
    ComPortOverrides overrides{};
    overrides[6].device = "/dev/pts/3";
    overrides[7].device = "/dev/ttyUSB0";
    const ComPortMap map = mapComPorts(ports, overrides);
    const std::vector<std::string> expected = {
        "/dev/ttyACM0 - Arduino",
        "/dev/ttyUSB1 - USB serial adapter",
        "/dev/ttyUSB2 - Same",
        "/dev/ttyS0 - Built-in serial port",
        "No serial device",
        "No serial device",
        "/dev/pts/3 - named in TAVRIN_COM7",
        "/dev/ttyUSB0 - FT232R USB UART, FTDI",
        "No serial device",
        "No serial device",
    };
    for (size_t i = 0; i < map.size(); ++i) EXPECT_EQ(map[i].toolTip, expected[i]) << "COM " << i + 1;
}

TEST(NaturalOrder, ComparesDigitRunsAsNumbers) {
    const std::vector<std::pair<std::string, std::string>> ordered = {
        {"ttyS2", "ttyS10"},  {"ttyS9", "ttyS10"},   {"ttyS", "ttyS0"},       {"ttyACM0", "ttyUSB0"},
        {"a1b2", "a1b10"},    {"ttyS01", "ttyS2"},   {"ttyS1", "ttyS01"},     {"0:2:1.0", "0:10:1.0"},
        {"x99999999999999999999", "x100000000000000000000"},
    };
    for (const auto& [a, b] : ordered) {
        EXPECT_TRUE(naturalLess(a, b)) << a << " < " << b;
        EXPECT_FALSE(naturalLess(b, a)) << b << " < " << a;
    }
    EXPECT_FALSE(naturalLess("ttyS3", "ttyS3"));
}

}  // namespace
}  // namespace tavrin
