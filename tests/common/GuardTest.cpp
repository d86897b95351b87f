#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "common/Guard.h"

using pelomar::RuntimeError;

TEST(SkipRuntimeError, EndsOnlyTheFailingStepOnARunTimeError) {
    std::vector<int> done;
    pelomar::skipRuntimeError([&] {
        done.push_back(1);
        throw RuntimeError(53);
    });
    pelomar::skipRuntimeError([&] { done.push_back(2); });
    EXPECT_EQ(done, (std::vector<int>{1, 2}));
}

TEST(SkipRuntimeError, PassesAFaultOn) {
    EXPECT_THROW(pelomar::skipRuntimeError([] { throw std::logic_error("broken"); }), std::logic_error);
}

TEST(GuardHandler, RunTimeErrorsPassQuietlyFaultsAreReported) {
    std::vector<std::string> reported;
    const auto report = [&](const char* what) { reported.emplace_back(what); };
    bool ran = false;
    pelomar::guardHandler([&] { ran = true; }, report);
    EXPECT_TRUE(ran);
    pelomar::guardHandler([] { throw RuntimeError(57); }, report);
    EXPECT_TRUE(reported.empty());
    pelomar::guardHandler([] { throw std::logic_error("broken"); }, report);
    pelomar::guardHandler([] { throw 42; }, report);
    EXPECT_EQ(reported, (std::vector<std::string>{"broken", "unknown exception"}));
    // A report that fails itself still leaves nothing escaping.
    pelomar::guardHandler([] { throw std::logic_error("again"); },
                          [](const char*) { throw std::runtime_error("report failed"); });
}
