#include "net/DownloadInstaller.h"
#include "support/DevServer.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

// Each report becomes a post to the message thread: at full speed no more than one per 128 KiB,
// and the last one carries the whole body, however soon it follows the one before.
TEST (DownloadProgress, AtFullSpeedReportsAtMostOncePer128KiBAndLastTheWholeBody)
{
    const std::int64_t size = 8 * 1024 * 1024 + 1000;
    for (const auto* write : { "64K", "1K" })
    {
        SCOPED_TRACE (write);
        const testing_support::DevServer server (
            { "--file-size", std::to_string (size), "--file-write-size", write });
        const testing_support::TemporaryFolder folder;
        std::vector<double> reports;
        downloadInstaller (
            folder.get().getChildFile ("installer.bin").getFullPathName().toStdString(),
            server.getUrl ("/files/installer.bin").toStdString(), 0, AsyncControlBlock(),
            [&] (double done, double, std::string) { reports.push_back (done); });
        EXPECT_LE (reports.size(), static_cast<size_t> (size / 131072 + 2));
        ASSERT_FALSE (reports.empty());
        EXPECT_EQ (reports.back(), static_cast<double> (size));
    }
}
