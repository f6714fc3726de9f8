// Writes a PNG of every page of the wizard in English, Japanese and Simplified Chinese, so the
// pages can be looked at without clicking through. Needs a display (tools/with-xvfb.sh).
//
//     page-snapshots OUTPUT_FOLDER
//
// The road is real: a local development server answers the update check and serves the
// installer, and the pages are driven through their buttons.
#include "SnapshotServer.h"

#include "app/MainComponent.h"
#include "app/MainWindow.h"
#include "look/EmbeddedFont.h"
#include "look/FernwaveTheme.h"
#include "model/InstallerModel.h"
#include "pages/Downloading.h"
#include "pages/Finished.h"
#include "pages/Welcome.h"
#include "tasks/HttpError.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>

namespace
{
class SnapshotApplication final : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "larkspire-downloader"; }
    const juce::String getApplicationVersion() override { return "1.0.0"; }
    void initialise (const juce::String&) override {}
    void shutdown() override {}
};

juce::JUCEApplicationBase* createSnapshotApplication()
{
    return new SnapshotApplication();
}

bool pumpUntil (const std::function<bool()>& predicate, int timeoutMs)
{
    const auto deadline = juce::Time::getMillisecondCounterHiRes() + timeoutMs;

    while (! predicate())
    {
        if (juce::Time::getMillisecondCounterHiRes() >= deadline)
            return false;

        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
    }

    return true;
}

void pumpFor (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

void require (bool condition, const char* what)
{
    if (! condition)
        throw std::runtime_error (what);
}

class SnapshotWriter final
{
public:
    explicit SnapshotWriter (juce::File folderToUse)
        : folder (std::move (folderToUse))
    {
    }

    void write (const juce::String& name)
    {
        auto& component = *MainComponent::getInstance();
        const auto image = component.createComponentSnapshot (component.getLocalBounds(), true);
        const auto file = folder.getChildFile (name + ".png");
        file.deleteFile();

        juce::FileOutputStream stream (file);
        juce::PNGImageFormat png;
        require (stream.openedOk() && png.writeImageToStream (image, stream),
                 "cannot write a snapshot");
        std::printf ("%s\n", file.getFullPathName().toRawUTF8());
    }

private:
    juce::File folder;
};

void pressNext()
{
    MainComponent::getInstance()->getCurrentPage()->nextButton->triggerClick();
    pumpFor (50);
}

void useServer (const SnapshotServer& server)
{
    ::setenv ("LARKSPIRE_UPDATE_SERVER", server.getBaseUrl().toRawUTF8(), 1);
}

/** One language's walk: Welcome (plain, checking, check failed), Downloading (retrying, then
    under way), Finished (success, failure). */
void walk (InstallerModel& model, const LanguageEntry& language, const juce::File& downloads,
           SnapshotWriter& writer)
{
    const SnapshotServer hanging ({ "--version-hang" });
    const SnapshotServer failing ({ "--version-status", "503" });
    // The first request for the installer fails once: the page shows its retry line.
    const SnapshotServer serving ({ "--file-size", "6M", "--file-rate", "1536K", "--file-status",
                                    "404", "--file-fail-times", "1" });
    const auto suffix = "-" + juce::String (language.languageCode);

    model.updateTask.cancel();
    model.updateTask.finished = false;
    model.updateTask.error = nullptr;
    model.updateInfo = nullptr;
    model.outcomeFlags = 0;
    model.lastError = nullptr;
    model.installerPath = {};
    model.downloadFolder = downloads.getFullPathName();
    model.setLanguage (&language);

    MainWindow::deleteInstance();
    MainComponent::deleteInstance();
    MainWindow::getInstance();
    pumpFor (100);
    writer.write ("welcome" + suffix);

    useServer (hanging);
    pressNext();
    writer.write ("welcome-checking" + suffix);

    model.updateTask.cancel();
    useServer (failing);
    pressNext();
    require (pumpUntil ([&] { return model.updateTask.error != nullptr; }, 10000),
             "the failing check did not fail");
    pumpFor (250);
    writer.write ("welcome-check-failed" + suffix);

    useServer (serving);
    pressNext();
    require (pumpUntil ([&] { return model.isRunInfoCheckFinished(); }, 10000),
             "the update check did not finish");
    pressNext();
    require (MainComponent::getInstance()->getCurrentPageIndex() == 1, "Next did not move on");

    pumpFor (300);
    writer.write ("downloading-retry" + suffix);

    // Long enough for the speed to show (thirty samples) after the retry's pause.
    pumpFor (3400);
    writer.write ("downloading" + suffix);

    require (
        pumpUntil ([] { return MainComponent::getInstance()->getCurrentPageIndex() == 2; }, 30000),
        "the download did not finish");
    pumpFor (100);
    writer.write ("finished-success" + suffix);

    model.outcomeFlags = 0;
    model.installerPath = {};
    model.lastError = std::make_exception_ptr (HttpError ("HTTP error code 503"));
    MainComponent::getInstance()->getCurrentPage()->updateUI();
    writer.write ("finished-failure" + suffix);

    downloads.deleteRecursively();
    downloads.createDirectory();
}

int run (const juce::File& outputFolder)
{
    // A private home: the model creates its default download folder there, finds no
    // installed editor, and the snapshots touch nothing of the user's.
    const auto scratch = juce::File::getSpecialLocation (juce::File::tempDirectory)
                             .getChildFile ("larkspire-page-snapshots-" +
                                            juce::String::toHexString (juce::Random().nextInt64()));
    scratch.getChildFile ("home/Documents").createDirectory();
    scratch.getChildFile ("applications").createDirectory();
    const auto downloads = scratch.getChildFile ("downloads");
    downloads.createDirectory();
    ::setenv ("HOME", scratch.getChildFile ("home").getFullPathName().toRawUTF8(), 1);
    ::setenv ("LARKSPIRE_APPLICATIONS_DIR",
              scratch.getChildFile ("applications").getFullPathName().toRawUTF8(), 1);
    ::setenv ("LARKSPIRE_UPDATE_SERVER", "http://127.0.0.1:9", 1);

    FernwaveTheme theme;
    installEmbeddedFont (theme);
    juce::Desktop::getInstance().setDefaultLookAndFeel (&theme);

    int result = 0;

    try
    {
        auto* model = InstallerModel::getInstance();
        require (model != nullptr, "no model");
        SnapshotWriter writer (outputFolder);

        for (const auto& language : model->languages)
            walk (*model, language, downloads, writer);
    }
    catch (const std::exception& e)
    {
        std::fprintf (stderr, "page-snapshots: %s\n", e.what());
        result = 1;
    }

    MainWindow::deleteInstance();
    MainComponent::deleteInstance();
    InstallerModel::deleteInstance();
    juce::Desktop::getInstance().setDefaultLookAndFeel (nullptr);
    scratch.deleteRecursively();
    return result;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: page-snapshots OUTPUT_FOLDER (needs a display)\n");
        return 2;
    }

    const auto outputFolder =
        juce::File::getCurrentWorkingDirectory().getChildFile (juce::String::fromUTF8 (argv[1]));

    if (! outputFolder.createDirectory())
    {
        std::fprintf (stderr, "page-snapshots: cannot create %s\n", argv[1]);
        return 1;
    }

    // JUCE's X11 layer sets itself up only for a standalone application.
    juce::JUCEApplicationBase::createInstance = &createSnapshotApplication;
    const juce::ScopedJuceInitialiser_GUI juceInitialiser;
    return run (outputFolder);
}
