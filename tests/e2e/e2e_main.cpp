// The end-to-end tests' entry point: the program under test is the first argument.
#include <gtest/gtest.h>

#include <cstdio>

#include "driver.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PATH-TO-Tallyvane.exe\n", argv[0]);
        return 2;
    }
    e2e::SetProgramPath(argv[1]);
    e2e::DeleteStartDateKey();
    const int result = RUN_ALL_TESTS();
    e2e::DeleteStartDateKey();
    return result;
}
