#include "support/DevServer.h"
#include "support/FakeEditor.h"
#include "support/PumpUntil.h"
#include "support/SpawnedProcess.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace
{
using testing_support::SpawnedProcess;

/** An Xvfb of this test's own, so that no other test's window can be mistaken for ours, with
    xev logging every window mapped on it. */
class PrivateDisplay final
{
public:
    explicit PrivateDisplay (const juce::File& folder)
        : log (folder.getChildFile ("xev.log"))
    {
        int fds[2];

        if (::pipe2 (fds, O_CLOEXEC) != 0)
            return;

        // -noreset: a server that resets when its last client leaves drops every client still
        // setting up its connection, which xev, slow to start on a loaded machine, can be.
        server = std::make_unique<SpawnedProcess> (
            std::vector<std::string> { "Xvfb", "-displayfd", std::to_string (fds[1]), "-noreset",
                                       "-nolisten", "tcp" },
            std::vector<std::string> {},
            folder.getChildFile ("xvfb.log").getFullPathName().toStdString(), fds[1]);
        ::close (fds[1]);

        for (char c = 0; ::read (fds[0], &c, 1) == 1 && c != '\n';)
            number += c;

        ::close (fds[0]);

        if (number.empty())
            return;

        watcher = std::make_unique<SpawnedProcess> (
            std::vector<std::string> { "stdbuf", "-oL", "xev", "-root", "-event", "substructure",
                                       "-event", "property" },
            std::vector<std::string> { "DISPLAY=:" + number }, log.getFullPathName().toStdString());
        ready = syncWatcher();
    }

    ~PrivateDisplay()
    {
        // A polite end lets Xvfb remove its lock file and socket.
        for (auto* process : { watcher.get(), server.get() })
        {
            if (process != nullptr)
            {
                process->sendSignal (SIGTERM);
                process->waitForExit (5000);
            }
        }
    }

    bool isReady() const { return ready; }
    std::string getName() const { return ":" + number; }

    /** Waits until xev has reported everything that happened on the display before the call: sets
        a fresh root property and waits for xev to report it (the server delivers events in order).
        Until xev has selected its events it misses a change, so a new marker goes out every
        second; seeing any of this call's markers will do. */
    bool syncWatcher()
    {
        const auto first = syncCount + 1;
        const auto deadline = juce::Time::getMillisecondCounter() + 30000;

        while (juce::Time::getMillisecondCounter() < deadline && ! watcher->waitForExit (0))
        {
            const auto marker = "LARKSPIRE_SYNC_" + std::to_string (++syncCount);
            SpawnedProcess xprop ({ "xprop", "-root", "-f", marker, "8s", "-set", marker, "1" },
                                  { "DISPLAY=" + getName() }, "/dev/null");
            xprop.waitForExit (10000);

            const auto seen = [this, first]
            {
                const auto text = log.loadFileAsString();

                for (auto count = first; count <= syncCount; ++count)
                    if (text.contains ("(LARKSPIRE_SYNC_" + juce::String (count) + ")"))
                        return true;

                return false;
            };

            if (testing_support::pumpUntil (seen, 1000))
                return true;
        }

        return false;
    }

    /** Windows mapped on the display since it started, as xev reported them. */
    int countMappedWindows() const
    {
        const auto lines = juce::StringArray::fromLines (log.loadFileAsString());
        return static_cast<int> (std::count_if (
            lines.begin(), lines.end(), [] (auto& line) { return line.startsWith ("MapNotify"); }));
    }

private:
    juce::File log;
    std::unique_ptr<SpawnedProcess> server, watcher;
    std::string number;
    int syncCount = 0;
    bool ready = false;
};

class EditorHandOffEndToEndTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE (home.getChildFile ("Documents").createDirectory());
        ASSERT_TRUE (temp.createDirectory());
        editor.writePlist ("3.0.1", "com.larkspire.editor");
        ASSERT_TRUE (display.isReady()) << "could not start a private Xvfb with xev:\n"
                                        << tree.get().getChildFile ("xev.log").loadFileAsString();
    }

    std::unique_ptr<SpawnedProcess> startApplication()
    {
        return std::make_unique<SpawnedProcess> (
            std::vector<std::string> { LARKSPIRE_APPLICATION_PATH },
            std::vector<std::string> {
                "DISPLAY=" + display.getName(), "HOME=" + home.getFullPathName().toStdString(),
                "TMPDIR=" + temp.getFullPathName().toStdString(),
                "LARKSPIRE_APPLICATIONS_DIR=" + applications.getFullPathName().toStdString(),
                "LARKSPIRE_UPDATE_SERVER=" + server.getBaseUrl().toStdString() },
            tree.get().getChildFile ("application.log").getFullPathName().toStdString());
    }

    testing_support::TemporaryFolder tree;
    juce::File home = tree.get().getChildFile ("home");
    juce::File temp = tree.get().getChildFile ("tmp");
    juce::File applications = tree.get().getChildFile ("Applications");
    testing_support::FakeEditor editor { applications };
    testing_support::DevServer server;
    PrivateDisplay display { tree.get() };
};

TEST_F (EditorHandOffEndToEndTest, EditorThatTakesOverEndsTheProgramWithoutAWindow)
{
    editor.writeScript (editor.recordingScript (42));

    auto application = startApplication();
    ASSERT_TRUE (application->waitForExit (60000)) << "the program did not end";
    EXPECT_EQ (application->getExitStatus(), 0);
    EXPECT_EQ (editor.getArgumentsFile().loadFileAsString(),
               "--from-downloader\n--check-update-and-install-product\n");

    ASSERT_TRUE (display.syncWatcher());
    EXPECT_EQ (display.countMappedWindows(), 0);
    EXPECT_EQ (server.getRequestCount ("/api/v1/version-info"), 0);
    EXPECT_EQ (server.getRequestCount ("/api/v1/download-links"), 0);
}

TEST_F (EditorHandOffEndToEndTest, EditorThatDeclinesLeavesTheWizardToRun)
{
    editor.writeScript (editor.recordingScript (0));

    auto application = startApplication();
    EXPECT_TRUE (
        testing_support::pumpUntil ([this] { return display.countMappedWindows() > 0; }, 30000));
    EXPECT_TRUE (testing_support::pumpUntil (
        [this] { return server.getRequestCount ("/api/v1/version-info") > 0; }, 30000));
    EXPECT_TRUE (editor.getArgumentsFile().existsAsFile());

    EXPECT_FALSE (application->waitForExit (0)) << "the wizard ended on its own";
    application->sendSignal (SIGTERM);
    EXPECT_TRUE (application->waitForExit (30000));
}
} // namespace
