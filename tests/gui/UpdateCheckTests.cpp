#include "model/InstallerModel.h"
#include "support/DevServer.h"
#include "support/PumpUntil.h"
#include "support/ScopedEnvironment.h"
#include "support/TemporaryFolder.h"
#include "tasks/BackgroundThreads.h"
#include "tasks/HttpError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using testing_support::DevServer;
using testing_support::pumpUntil;
using testing_support::ScopedEnvironment;

namespace
{
const juce::String versionPath = "/api/v1/version-info";

/** Models built directly (not the singleton) in a temporary home with no installed editor; each
    test points the update server at a server of its own. */
class UpdateCheckTest : public testing::Test
{
protected:
    /** The worker reads the address when it runs, so it stays set for the whole test. */
    static void pointAt (const DevServer& server)
    {
        ::setenv ("LARKSPIRE_UPDATE_SERVER", server.getBaseUrl().toRawUTF8(), 1);
    }

    testing_support::TemporaryFolder tree;
    ScopedEnvironment home { "HOME", tree.get().getFullPathName().toStdString() };
    ScopedEnvironment applications { "LARKSPIRE_APPLICATIONS_DIR",
                                     tree.get().getFullPathName().toStdString() };
    ScopedEnvironment address { "LARKSPIRE_UPDATE_SERVER", std::nullopt }; // restored at the end
};
} // namespace

TEST_F (UpdateCheckTest, FailureLeavesTheCheckIdleARequestRestartsItAndAResultEndsItForGood)
{
    DevServer failing ({ "--version-status", "503" });
    pointAt (failing);
    auto model = std::make_unique<InstallerModel>();
    const auto generation = *model->updateTask.generation;
    ASSERT_TRUE (pumpUntil ([&] { return model->isRunInfoCheckIdle(); }));
    EXPECT_EQ (model->updateInfo, nullptr);
    ASSERT_NE (model->updateTask.error, nullptr);
    EXPECT_THROW (std::rethrow_exception (model->updateTask.error), HttpError);

    DevServer working ({ "--version-string", "7.0.0" });
    pointAt (working);
    model->requestRunInfoCheck();
    EXPECT_FALSE (model->isRunInfoCheckIdle());
    EXPECT_EQ (model->updateTask.error, nullptr);
    ASSERT_TRUE (pumpUntil ([&] { return model->isRunInfoCheckFinished(); }));
    ASSERT_NE (model->updateInfo, nullptr);
    EXPECT_EQ (model->updateInfo->latestVersionString, "7.0.0");
    EXPECT_FALSE (model->isRunInfoCheckIdle());
    EXPECT_EQ (failing.getRequestCount (versionPath), 1);
    EXPECT_EQ (*model->updateTask.generation, generation) << "only a cancel advances it";

    const auto result = model->updateInfo;
    model->requestRunInfoCheck();
    testing_support::pumpFor (200);
    EXPECT_EQ (model->updateInfo, result);
    EXPECT_TRUE (model->isRunInfoCheckFinished());
    EXPECT_EQ (working.getRequestCount (versionPath), 1);
}

TEST_F (UpdateCheckTest, ARunningCheckIsNotStartedAgainAndADestroyedModelIsLeftAlone)
{
    // The first answer would take half a minute: the cancel cuts it short, and the cancelled
    // run asks for nothing after it.
    DevServer server ({ "--version-body-size", "60000", "--version-rate", "2000" });
    pointAt (server);
    alignas (InstallerModel) unsigned char storage[sizeof (InstallerModel)];
    auto* model = new (storage) InstallerModel();
    ASSERT_TRUE (pumpUntil ([&] { return server.getRequestCount (versionPath) == 1; }));
    model->requestRunInfoCheck();
    model->requestRunInfoCheck();

    // The run and its posted callbacks share the counter, so it goes when the last of them does.
    const std::weak_ptr<std::uint64_t> counter = model->updateTask.generation;
    model->~InstallerModel();
    EXPECT_TRUE (BackgroundThreads::get().waitForAll (0)) << "the check's thread runs on";
    std::memset (storage, 0x5a, sizeof (storage));
    EXPECT_TRUE (pumpUntil ([&] { return counter.expired(); }));
    EXPECT_EQ (server.getRequestCount (versionPath), 1);
    EXPECT_EQ (server.getRequestCount ("/api/v1/download-links"), 0);
    EXPECT_TRUE (std::all_of (std::begin (storage), std::end (storage),
                              [] (unsigned char byte) { return byte == 0x5a; }));
}
