#pragma once
// The delay dialog's grid starts the toolkit's units on first use; a test program that may show it
// shuts them down after its last test, while everything they registered with is still alive
// (left to the exit, their finalizers ran after the application and crashed).
#include "console/ToolkitUnits.h"

#include <gtest/gtest.h>

namespace delay_test {

class ToolkitUnitsEnvironment : public ::testing::Environment {
public:
    void TearDown() override { FinalizeToolkitUnits(); }
};
inline ::testing::Environment* const toolkitUnits = ::testing::AddGlobalTestEnvironment(new ToolkitUnitsEnvironment);

} // namespace delay_test
