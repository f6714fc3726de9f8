#include "pages/Downloading.h"
#include "pages/FormatByteSize.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>

TEST (DownloadFigures, FormatByteSizePicksTheUnitByStrictThresholds)
{
    // clang-format off
    const std::pair<double, const char*> rows[] {
        { 0.0, "0.0 KiB" }, { 1000000.0, "976.6 KiB" }, { 2000000.0, "1.9 MiB" },
        { 1153433.6, "1126.4 KiB" }, { std::nextafter (1153433.6, 2e6), "1.1 MiB" },
        { 1181116006.4, "1126.4 MiB" }, { std::nextafter (1181116006.4, 2e9), "1.1 GiB" },
        { 1073741824.0 * 3.0, "3.0 GiB" } };
    // clang-format on
    for (const auto& [value, shown] : rows)
        EXPECT_EQ (formatByteSize (value), shown) << std::setprecision (17) << value;
}

TEST (DownloadFigures, SpeedAndProgress)
{
    // The speed needs a full window of thirty samples, 100 ms apart.
    boost::circular_buffer<double> window (30);
    for (int i = 0; i < 29; ++i)
        window.push_back (1000.0 * i);
    EXPECT_EQ (Downloading::speedOf (window), 0.0);
    window.push_back (3145728.0); // oldest 0, newest 3 MiB, three seconds apart
    EXPECT_DOUBLE_EQ (Downloading::speedOf (window), 1048576.0);

    // The bar's fraction (the download road shows the common cases).
    EXPECT_EQ (Downloading::progressFor (2048.0, 1024.0), 1.0); // longer than announced
    EXPECT_EQ (Downloading::progressFor (0.0, 0.0), 0.0);
}
