#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/ComPortDevice.h"

namespace {

tavrin::EnvLookup fakeEnv(std::map<std::string, std::string> vars) {
    return [vars = std::move(vars)](const char* name) -> const char* {
        const auto it = vars.find(name);
        return it == vars.end() ? nullptr : it->second.c_str();
    };
}

}  // namespace

TEST(ComPortDevice, DefaultsToTheMatchingTtyS) {
    const auto none = fakeEnv({});
    EXPECT_EQ(tavrin::comPortDevice(1, none), "/dev/ttyS0");
    EXPECT_EQ(tavrin::comPortDevice(10, none), "/dev/ttyS9");
}

TEST(ComPortDevice, EnvironmentOverridesOnePort) {
    const auto env = fakeEnv({{"TAVRIN_COM3", "/dev/pts/7"}, {"TAVRIN_COM4", ""}});
    EXPECT_EQ(tavrin::comPortDevice(3, env), "/dev/pts/7");
    EXPECT_EQ(tavrin::comPortDevice(2, env), "/dev/ttyS1");
    EXPECT_EQ(tavrin::comPortDevice(4, env), "/dev/ttyS3");  // empty means unset
}

TEST(ComPortDevice, NumbersOutsideOneToTenHaveNoDevice) {
    const auto env = fakeEnv({{"TAVRIN_COM0", "/dev/pts/1"}, {"TAVRIN_COM11", "/dev/pts/2"}});
    EXPECT_EQ(tavrin::comPortDevice(0, env), "");
    EXPECT_EQ(tavrin::comPortDevice(11, env), "");
    EXPECT_EQ(tavrin::comPortDevice(-1, env), "");
}
