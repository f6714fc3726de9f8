#include "model/InstallerModel.h"
#include "support/DevServer.h"
#include "support/PumpUntil.h"
#include "support/ScopedEnvironment.h"
#include "support/TemporaryFolder.h"
#include "tasks/HttpError.h"

#include <gtest/gtest.h>

#include <optional>

using testing_support::DevServer;
using testing_support::pumpFor;
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
    std::string inTree (const char* path, const char* child = "")
    {
        const auto folder = tree.get().getChildFile (path);
        folder.getChildFile (child).createDirectory();
        return folder.getFullPathName().toStdString();
    }

    /** The worker reads the address when it runs, so it stays set for the whole test. */
    void pointAt (const DevServer& server)
    {
        address.reset();
        address.emplace ("LARKSPIRE_UPDATE_SERVER", server.getBaseUrl().toStdString());
    }

    /** The constructor starts the check. */
    std::unique_ptr<InstallerModel> makeModel (const DevServer& server)
    {
        pointAt (server);
        return std::make_unique<InstallerModel>();
    }

    testing_support::TemporaryFolder tree;
    ScopedEnvironment home { "HOME", inTree ("home", "Documents") };
    ScopedEnvironment config { "XDG_CONFIG_HOME", inTree ("config") };
    ScopedEnvironment applications { "LARKSPIRE_APPLICATIONS_DIR", inTree ("Applications") };
    std::optional<ScopedEnvironment> address;
};
} // namespace

TEST_F (UpdateCheckTest, TwoRequestsStartOneCheckAndACancelDropsItsLateResult)
{
    // The second answer takes about a second, long enough to act while it is under way.
    DevServer server ({ "--links-body-size", "20000", "--links-rate", "20000" });
    auto model = makeModel (server);
    EXPECT_FALSE (model->isRunInfoCheckIdle());
    EXPECT_FALSE (model->isRunInfoCheckFinished());
    ASSERT_TRUE (
        pumpUntil ([&] { return server.getRequestCount ("/api/v1/download-links") == 1; }));

    model->requestRunInfoCheck();
    model->requestRunInfoCheck();
    pumpFor (100);
    EXPECT_EQ (server.getRequestCount (versionPath), 1);

    model->updateTask.cancel(); // as at shutdown
    pumpFor (1500);
    EXPECT_EQ (server.getRequestCount (versionPath), 1);
    EXPECT_EQ (model->updateInfo, nullptr);
    EXPECT_FALSE (model->isRunInfoCheckFinished());
    EXPECT_EQ (model->updateTask.error, nullptr);
    EXPECT_TRUE (model->isRunInfoCheckIdle());
}

TEST_F (UpdateCheckTest, FailureLeavesTheCheckIdleARequestRestartsItAndAResultEndsItForGood)
{
    DevServer failing ({ "--version-status", "503" });
    auto model = makeModel (failing);
    ASSERT_TRUE (pumpUntil ([&] { return model->isRunInfoCheckIdle(); }));
    EXPECT_FALSE (model->isRunInfoCheckFinished());
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

    const auto result = model->updateInfo;
    model->requestRunInfoCheck();
    pumpFor (200);
    EXPECT_EQ (model->updateInfo, result);
    EXPECT_TRUE (model->isRunInfoCheckFinished());
    EXPECT_EQ (working.getRequestCount (versionPath), 1);
}
