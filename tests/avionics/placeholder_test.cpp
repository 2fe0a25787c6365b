#include "avionics/registration.h"

#include <gtest/gtest.h>

TEST(AvionicsRegistration, RegistersWithoutOpeningAnything)
{
    int registered = 0;
    varnet::RegisterAvionicsDialogs([&](std::string_view, std::function<void()>) { ++registered; });
    EXPECT_GE(registered, 0);
}
