// The fixture every contract test derives from: the machine prepared anew,
// and paths in its work folder.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "tests/contract/ContractEnv.h"

namespace contract {

class ContractTest : public ::testing::Test {
  protected:
    void SetUp() override { Env().Prepare(); }

    static std::u16string WorkPath(std::u16string_view name) {
        return Env().WorkFolder() + u"\\" + std::u16string(name);
    }
    static bool OnSimulation() { return Env().Kind() == Machine::Simulated; }
};

} // namespace contract
