#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/SystemComPorts.h"

namespace {

using tavrin::SystemComPorts;
using tavrin::SystemSerialPort;
using Kind = SystemSerialPort::Kind;
namespace fs = std::filesystem;

tavrin::EnvLookup fakeEnv(std::map<std::string, std::string> vars) {
    return [vars = std::move(vars)](const char* name) -> const char* {
        const auto it = vars.find(name);
        return it == vars.end() ? nullptr : it->second.c_str();
    };
}

// The machine's ports as a test sets them; counts how often they are listed.
struct FakeSystem {
    std::vector<SystemSerialPort> ports;
    int listings = 0;
    SystemComPorts::Lister lister() {
        return [this] {
            ++listings;
            return ports;
        };
    }
};

std::map<std::string, std::string> allTen() {
    std::map<std::string, std::string> vars;
    for (int n = 1; n <= 10; ++n) vars["TAVRIN_COM" + std::to_string(n)] = "/nonexistent/com" + std::to_string(n);
    return vars;
}

TEST(SystemComPorts, ComNamedInTheEnvironmentWinsAndEmptyMeansUnset) {
    FakeSystem system;
    system.ports = {{"/dev/ttyS0", "", "", "", Kind::Builtin}, {"/dev/ttyS1", "", "", "", Kind::Builtin}};
    SystemComPorts ports(fakeEnv({{"TAVRIN_COM3", "/dev/pts/7"}, {"TAVRIN_COM1", ""}, {"TAVRIN_COM11", "/x"}}),
                         system.lister());
    EXPECT_EQ(ports.device(1), "/dev/ttyS0");
    EXPECT_EQ(ports.device(2), "/dev/ttyS1");
    EXPECT_EQ(ports.device(3), "/dev/pts/7");
    EXPECT_EQ(ports.toolTip(3), "/dev/pts/7 - named in TAVRIN_COM3");
    EXPECT_EQ(ports.device(4), "");
    EXPECT_EQ(ports.toolTip(4), "No serial device");
    for (const int16_t n : {int16_t{0}, int16_t{11}, int16_t{-1}}) {
        EXPECT_EQ(ports.device(n), "") << n;
        EXPECT_EQ(ports.toolTip(n), "") << n;
    }
    EXPECT_EQ(system.listings, 1) << "listed once, at the first lookup";
}

TEST(SystemComPorts, RefreshSeesAnAdapterPluggedInSince) {
    FakeSystem system;
    system.ports = {{"/dev/ttyS0", "", "", "", Kind::Builtin}};
    SystemComPorts ports(fakeEnv({}), system.lister());
    EXPECT_EQ(ports.device(1), "/dev/ttyS0");
    system.ports.push_back({"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "", Kind::Adapter});
    EXPECT_EQ(ports.device(1), "/dev/ttyS0") << "the list is kept until a refresh";
    ports.refresh();
    EXPECT_EQ(ports.device(1), "/dev/ttyUSB0");
    EXPECT_EQ(ports.toolTip(1), "/dev/ttyUSB0 - FT232R USB UART, FTDI");
    EXPECT_EQ(ports.device(2), "/dev/ttyS0");
    EXPECT_EQ(system.listings, 2);
}

TEST(SystemComPorts, TheOpenPortKeepsItsComAcrossARefresh) {
    FakeSystem system;
    system.ports = {{"/dev/ttyUSB0", "", "", "/dev/serial/by-path/x-usb-0:5", Kind::Adapter}};
    SystemComPorts ports(fakeEnv({}), system.lister());
    std::pair<int16_t, std::string> open{1, ""};
    ports.setOpenPort([&] { return open; });
    ports.refresh();
    ASSERT_EQ(ports.device(1), "/dev/ttyUSB0");
    // The link runs on COM 1 when an adapter is plugged into a lower socket.
    open.second = "/dev/ttyUSB0";
    system.ports.push_back({"/dev/ttyUSB1", "", "", "/dev/serial/by-path/x-usb-0:2", Kind::Adapter});
    ports.refresh();
    EXPECT_EQ(ports.device(1), "/dev/ttyUSB0");
    EXPECT_EQ(ports.toolTip(1), "/dev/ttyUSB0 - USB serial adapter");
    EXPECT_EQ(ports.device(2), "/dev/ttyUSB1");
    // Closed, the socket order holds again.
    open.second.clear();
    ports.refresh();
    EXPECT_EQ(ports.device(1), "/dev/ttyUSB1");
    EXPECT_EQ(ports.device(2), "/dev/ttyUSB0");
}

TEST(SystemComPorts, AllTenNamedNeverListsTheSystemsPorts) {
    FakeSystem system;
    system.ports = {{"/dev/ttyS0", "", "", "", Kind::Builtin}};
    SystemComPorts ports(fakeEnv(allTen()), system.lister());
    ports.refresh();
    for (int16_t n = 1; n <= 10; ++n) EXPECT_EQ(ports.device(n), "/nonexistent/com" + std::to_string(n));
    EXPECT_EQ(system.listings, 0);
}

// A temporary folder with links, as /dev/serial/by-path holds them.
class StableSerialPaths : public testing::Test {
protected:
    StableSerialPaths() {
        fs::create_directories(dev);
        fs::create_directories(byPath);
        for (const char* name : {"ttyUSB0", "ttyUSB1"}) std::ofstream(dev / name).put('x');
    }
    ~StableSerialPaths() override { fs::remove_all(root); }

    fs::path root = fs::temp_directory_path() / ("stable-paths-" + std::to_string(::getpid()));
    fs::path dev = root / "dev";
    fs::path byPath = root / "by-path";
};

TEST_F(StableSerialPaths, MapsEachDeviceToItsLink) {
    fs::create_symlink("../dev/ttyUSB0", byPath / "pci-usb-0:10:1.0-port0");
    fs::create_symlink("../dev/ttyUSB0", byPath / "pci-usb-0:9:1.0-port0");  // a second link to one device
    fs::create_symlink(dev / "ttyUSB1", byPath / "pci-usb-0:3:1.0-port0");
    fs::create_symlink("../dev/gone", byPath / "pci-usb-0:4:1.0-port0");
    std::ofstream(byPath / "not-a-link").put('x');

    const auto links = tavrin::stableSerialPaths(byPath.string());
    const std::string canonical = fs::canonical(dev).string();
    EXPECT_EQ(links, (std::map<std::string, std::string>{
                         {canonical + "/ttyUSB0", (byPath / "pci-usb-0:9:1.0-port0").string()},
                         {canonical + "/ttyUSB1", (byPath / "pci-usb-0:3:1.0-port0").string()},
                     }));
    EXPECT_TRUE(tavrin::stableSerialPaths((root / "missing").string()).empty());
}

TEST(SerialPortKind, UsbAndAcmAreAdapters) {
    EXPECT_EQ(tavrin::serialPortKind("ttyUSB0", false), Kind::Adapter);
    EXPECT_EQ(tavrin::serialPortKind("ttyACM12", false), Kind::Adapter);
    EXPECT_EQ(tavrin::serialPortKind("ttyXR0", true), Kind::Adapter);
    EXPECT_EQ(tavrin::serialPortKind("ttyS0", false), Kind::Builtin);
    EXPECT_EQ(tavrin::serialPortKind("ttyAMA0", false), Kind::Builtin);
}

}  // namespace
