#include "support/RunAllTests.h"

#include <gtest/gtest.h>

#include <cstdio>

int testing_support::runAllTestsRequiringSome()
{
    const auto result = RUN_ALL_TESTS();
    if (result != 0 || testing::UnitTest::GetInstance()->test_to_run_count() > 0 ||
        testing::GTEST_FLAG (list_tests))
        return result;
    std::fputs ("No test matched the filter: treating the run as a failure.\n", stderr);
    return 1;
}
