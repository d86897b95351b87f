#include <gtest/gtest.h>
TEST(RunControlPlaceholder, Builds) {}
