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
        EXPECT_GE (reports, 5u * (size / 131072 + 2));
        EXPECT_LE (reports, 5u * (size / 131072 + 3));
    }
}
