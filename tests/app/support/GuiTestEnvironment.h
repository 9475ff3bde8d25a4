#pragma once

#include <gtest/gtest.h>

#include "support/TempHome.h"

class VarnelApplication;

// One application object for the whole test program, on the offscreen platform.
class QtEnvironment : public testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

    static VarnelApplication& app();
};

inline testing::Environment* const qtEnvironment =
    testing::AddGlobalTestEnvironment(new QtEnvironment);
