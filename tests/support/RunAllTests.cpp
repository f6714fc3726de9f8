#include "support/RunAllTests.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace testing_support
{
int runAllTestsRequiringSome()
{
    const auto result = RUN_ALL_TESTS();
    const auto* unitTest = testing::UnitTest::GetInstance();

    if (result == 0 && unitTest->test_to_run_count() == 0 && ! testing::GTEST_FLAG (list_tests))
    {
        std::fprintf (stderr, "No test matched the filter: treating the run as a failure.\n");
        return 1;
    }

    return result;
}
} // namespace testing_support
