// The suite's entry. Started by the service control manager with
// ServiceModeArgument, the program serves as the probe service of the
// services contract instead of running the tests.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/contract/ContractService.h"

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], contract::ServiceModeArgument) == 0)
        return contract::RunProbeService();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
