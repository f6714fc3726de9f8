#include "net/CopyPacer.h"
#include "net/DownloadInstaller.h"
#include "support/DevServer.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

// Each report becomes a post to the message thread: at full speed one per 128 KiB (besides the
// first and last), neither more nor none, and the last one carries the whole body.
TEST (DownloadProgress, AtFullSpeedReportsOncePer128KiBAndLastTheWholeBody)
{
    const std::int64_t size = 300000;
    for (const auto* write : { "64K", "1K" })
    {
        SCOPED_TRACE (write);
        const testing_support::DevServer server (
            { "--file-size", std::to_string (size), "--file-write-size", write });
        const testing_support::TemporaryFolder folder;
        const auto destination = folder.get().getChildFile ("installer.bin");
        std::size_t reports = 0;
        for (int run = 0; run < 5; ++run)
        {
            double last = -1.0;
            downloadInstaller (destination.getFullPathName().toStdString(),
                               server.getUrl ("/files/installer.bin").toStdString(), 0,
                               AsyncControlBlock(),
                               [&] (double done, double, std::string)
                               {
                                   last = done;
                                   ++reports;
                               });
            EXPECT_EQ (last, static_cast<double> (size));
        }
        // A read that waited (a busy machine) is reported too: some room for those.
        EXPECT_GE (reports, 5u * (size / 131072 + 2));
        EXPECT_LE (reports, 5u * (size / 131072 + 2) + 10u);
    }
}

TEST (DownloadProgress, ReadsGrowWhileQuickShrinkWhileSlowAndStopAtEach128KiB)
{
    using namespace std::chrono_literals;
    CopyPacer pacer (131072);
    const CopyPacer::Clock::time_point start;
    std::int64_t received = 0;
    // Each row: the bytes a read returns (-1: all it asked for), how long it took, then the
    // size the next read asks for and whether this one is reported.
    const std::tuple<int, std::chrono::milliseconds, int, bool> rows[] {
        { -1, 1ms, 4096, false },    // 4096 in: twice the size, up to the next multiple of it
        { -1, 1ms, 8192, false },    // 8192 in
        { -1, 1ms, 16384, false },   // 16384 in
        { -1, 1ms, 32768, false },   // 32768 in
        { -1, 1ms, 65536, false },   // 65536 in
        { -1, 1ms, 131072, true },   // 131072 in: at a multiple of 128 KiB, and no larger
        { -1, 50ms, 131072, true },  // 262144 in, neither quick nor slow: the size stays
        { -1, 150ms, 65536, true },  // 393216 in, waited: the size halves
        { 100, 1ms, 65436, false },  // the end met early: the size stays, nothing to report yet
        { 0, 1ms, 65436, false },    // nothing new
        { 1000, 30ms, 64436, true }, // waited for bytes
    };
    for (const auto& [got, took, nextSize, reported] : rows)
    {
        const auto bytes = got < 0 ? pacer.readSize() : got;
        received += bytes;
        SCOPED_TRACE (received);
        EXPECT_EQ (pacer.readDone (bytes, received, start, start + took), reported);
        EXPECT_EQ (pacer.readSize(), nextSize);
    }
}
