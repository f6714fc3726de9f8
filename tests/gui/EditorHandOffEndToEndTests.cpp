#include "support/DevServer.h"
#include "support/FakeEditor.h"
#include "support/PumpUntil.h"
#include "support/SpawnedProcess.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

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

        server = std::make_unique<SpawnedProcess> (
            std::vector<std::string> { "Xvfb", "-displayfd", std::to_string (fds[1]), "-screen",
                                       "0", "1024x768x24", "-nolisten", "tcp" },
            std::vector<std::string> {},
            folder.getChildFile ("xvfb.log").getFullPathName().toStdString(), fds[1]);
        ::close (fds[1]);

        std::string number;
        char c = 0;

        while (::read (fds[0], &c, 1) == 1 && c != '\n')
            number += c;

        ::close (fds[0]);

        if (number.empty())
            return;

        name = ":" + number;
        watcher = std::make_unique<SpawnedProcess> (
            std::vector<std::string> { "stdbuf", "-oL", "xev", "-root", "-event", "substructure",
                                       "-event", "property" },
            std::vector<std::string> { "DISPLAY=" + name }, log.getFullPathName().toStdString());
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
    const std::string& getName() const { return name; }

    /** Makes sure xev has seen every event before now: changes a root property and waits for
        xev to report it (the server delivers events in order). Until xev has selected its
        events it misses the change, so a fresh marker is set again every half second. */
    bool syncWatcher()
    {
        for (int attempt = 0; attempt < 40; ++attempt)
        {
            const auto marker = "LARKSPIRE_SYNC_" + std::to_string (++syncCount);
            SpawnedProcess xprop ({ "xprop", "-root", "-f", marker, "8s", "-set", marker, "1" },
                                  { "DISPLAY=" + name }, "/dev/null");
            xprop.waitForExit (10000);

            if (testing_support::pumpUntil (
                    [this, marker] { return log.loadFileAsString().contains (marker); }, 500))
                return true;
        }

        return false;
    }

    /** Windows mapped on the display since it started, as xev reported them. */
    int countMappedWindows() const
    {
        return countOccurrences (log.loadFileAsString(), "MapNotify event");
    }

    /** Whether a visible window with this title exists, asked through xdotool. */
    bool hasVisibleWindow (const std::string& title) const
    {
        const auto output = juce::File::createTempFile ("xdotool");
        SpawnedProcess xdotool (
            { "xdotool", "search", "--onlyvisible", "--name", "^" + title + "$" },
            { "DISPLAY=" + name }, output.getFullPathName().toStdString());
        xdotool.waitForExit (10000);
        const auto found =
            xdotool.getExitStatus() == 0 && output.loadFileAsString().trim().isNotEmpty();
        output.deleteFile();
        return found;
    }

private:
    static int countOccurrences (const juce::String& text, const juce::String& word)
    {
        int count = 0;

        for (auto index = text.indexOf (word); index >= 0; index = text.indexOf (index + 1, word))
            ++count;

        return count;
    }

    juce::File log;
    std::unique_ptr<SpawnedProcess> server;
    std::unique_ptr<SpawnedProcess> watcher;
    std::string name;
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
        ASSERT_TRUE (applications.createDirectory());
        ASSERT_TRUE (display.isReady()) << "could not start a private Xvfb with xev";
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
    editor.writePlist ("3.0.1", "com.larkspire.editor");
    editor.writeScript (editor.recordingScript (42));

    auto application = startApplication();
    ASSERT_TRUE (application->waitForExit (60000)) << "the program did not end";
    EXPECT_TRUE (application->exitedNormally());
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
    editor.writePlist ("3.0.1", "com.larkspire.editor");
    editor.writeScript (editor.recordingScript (0));

    auto application = startApplication();

    EXPECT_TRUE (testing_support::pumpUntil (
        [this] { return display.hasVisibleWindow ("larkspire-downloader"); }, 30000));
    EXPECT_TRUE (testing_support::pumpUntil (
        [this] { return server.getRequestCount ("/api/v1/version-info") >= 1; }, 30000));
    EXPECT_TRUE (editor.getArgumentsFile().existsAsFile());

    ASSERT_TRUE (display.syncWatcher());
    EXPECT_GE (display.countMappedWindows(), 1);

    EXPECT_FALSE (application->hasExited());
    application->sendSignal (SIGTERM);
    EXPECT_TRUE (application->waitForExit (30000));
}
} // namespace
