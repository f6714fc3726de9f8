#include "pages/Downloading.h"
#include "pages/FormatByteSize.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <ostream>

namespace
{
struct SizeCase
{
    double value;
    const char* shown;
};

void PrintTo (const SizeCase& size, std::ostream* stream)
{
    *stream << std::setprecision (17) << size.value;
}

class FormatByteSizeTable : public ::testing::TestWithParam<SizeCase>
{
};
} // namespace

TEST_P (FormatByteSizeTable, PicksUnitByStrictThresholds)
{
    EXPECT_EQ (formatByteSize (GetParam().value), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P (
    ByteSizes, FormatByteSizeTable,
    ::testing::Values (SizeCase { 0.0, "0.0 KiB" }, SizeCase { 1000000.0, "976.6 KiB" },
                       SizeCase { 2000000.0, "1.9 MiB" }, SizeCase { 1048576.0, "1024.0 KiB" },
                       SizeCase { 1153433.6, "1126.4 KiB" },
                       SizeCase { std::nextafter (1153433.6, 2e6), "1.1 MiB" },
                       SizeCase { 1181116006.4, "1126.4 MiB" },
                       SizeCase { std::nextafter (1181116006.4, 2e9), "1.1 GiB" },
                       SizeCase { 1073741824.0 * 3.0, "3.0 GiB" }));

TEST (DownloadFigures, SpeedNeedsAFullWindow)
{
    boost::circular_buffer<double> window (30);

    EXPECT_EQ (Downloading::speedOf (window), 0.0);

    for (int i = 0; i < 29; ++i)
        window.push_back (i * 108475.0);
    EXPECT_EQ (Downloading::speedOf (window), 0.0);

    window.clear();
    window.push_back (0.0);
    for (int i = 1; i < 29; ++i)
        window.push_back (1000.0);
    window.push_back (3145728.0);
    // Oldest 0, newest 3 MiB over 3 seconds.
    EXPECT_DOUBLE_EQ (Downloading::speedOf (window), 1048576.0);
    EXPECT_EQ (Downloading::sizeLine (3145728.0, 4194304.0, Downloading::speedOf (window)),
               "3.0 MiB / 4.0 MiB (1024.0 KiB/s)");
}

TEST (DownloadFigures, SizeLineCases)
{
    // Before any report: the page's starting figures.
    EXPECT_EQ (Downloading::sizeLine (0.0, 1e-5, 0.0), "0.0 KiB / 0.0 KiB");
    // Thirty equal samples: no speed.
    EXPECT_EQ (Downloading::sizeLine (300000.0, 1048576.0, 0.0), "293.0 KiB / 1024.0 KiB");
    // No announced total: the bytes so far, never a negative size.
    EXPECT_EQ (Downloading::sizeLine (0.0, -1.0, 0.0), "0.0 KiB");
    EXPECT_EQ (Downloading::sizeLine (2000000.0, -1.0, 524288.0), "1.9 MiB (512.0 KiB/s)");
}

TEST (DownloadFigures, ProgressIsBusyWithoutATotal)
{
    EXPECT_EQ (Downloading::progressFor (0.0, 1e-5), 0.0);
    EXPECT_DOUBLE_EQ (Downloading::progressFor (512.0, 1024.0), 0.5);
    EXPECT_EQ (Downloading::progressFor (4096.0, -1.0), -1.0);
    EXPECT_EQ (Downloading::progressFor (0.0, 0.0), 0.0);
    EXPECT_EQ (Downloading::progressFor (2048.0, 1024.0), 1.0);
}
