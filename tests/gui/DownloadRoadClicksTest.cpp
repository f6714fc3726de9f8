// Real clicks (xdotool, through XTest) on the road's buttons: runs of clicks that land on the
// button appearing in another's place. They need a display of their own (ctest's
// gui.double_click_on_next).
#include "DownloadRoad.h"

#include "support/ScopedEnvironment.h"
#include "support/TemporaryFolder.h"
#include "tasks/BackgroundThreads.h"

using namespace shell_testing;
using testing_support::ScopedEnvironment;

TEST_F (DownloadRoad, ADoubleClickOnNextDownloadsAndOnlyALaterClickCancels)
{
    if (std::getenv ("LARKSPIRE_OWN_DISPLAY") == nullptr)
        GTEST_SKIP() << "real clicks need a display of their own: ctest runs this as "
                        "gui.double_click_on_next";
    prepareRoad ({ "--file-size", "2M", "--file-rate", "512K" });

    // The second click lands where Cancel now is.
    clickNext ({ "click", "--repeat", "2", "--delay", "150", "1" });
    EXPECT_EQ (currentPage(), 1u);
    EXPECT_EQ (model->outcomeFlags, 0u);

    // A double click on Cancel: the second click lands on Welcome's Next, and is ignored. A
    // click a second later starts a download.
    ASSERT_TRUE (pumpUntil ([&] { return server->getRequestCount (filePath) == 1; }));
    clickNext ({ "click", "--repeat", "2", "--delay", "150", "1" });
    EXPECT_EQ (currentPage(), 0u);
    EXPECT_EQ (server->getRequestCount (filePath), 1);
    testing_support::pumpFor (500);
    clickNext ({ "click", "1" });
    EXPECT_EQ (currentPage(), 1u);
    EXPECT_TRUE (pumpUntil ([&] { return server->getRequestCount (filePath) == 2; }));

    // Cancel from the keyboard or through accessibility acts at once, whatever clicks came before.
    downloading().nextButton->triggerClick();
    ASSERT_TRUE (waitForPage (0, 1000));
    EXPECT_EQ (model->outcomeFlags, InstallerModel::userCancelled);
    // Also after a double click on Next, whose second click Cancel took and ignored.
    clickNext ({ "click", "--repeat", "2", "--delay", "150", "1" });
    ASSERT_EQ (currentPage(), 1u);
    pressReturnOn (*downloading().nextButton);
    ASSERT_TRUE (waitForPage (0, 1000));

    // A click begun 500 ms after the slow one on Next begins a new run, however soon the page
    // appeared.
    clickNext ({ "mousedown", "1", "sleep", "0.3", "mouseup", "1", "sleep", "0.2", "click", "1" });
    EXPECT_EQ (currentPage(), 0u);

    // A run begun on Cancel, by a press dragged off it, is no run from Next. Each move waits until
    // the window has seen the one before.
    pressNext();
    ASSERT_TRUE (waitForPage (1, 2000));
    auto& cancel = *downloading().nextButton;
    const auto centre = cancel.getScreenBounds().getCentre();
    runXdotool (
        { "mousemove", juce::String (centre.x), juce::String (centre.y), "mousedown", "1" });
    ASSERT_TRUE (pumpUntil ([&] { return cancel.isDown(); }, 2000));
    runXdotool ({ "mousemove_relative", "0", "80" });
    ASSERT_TRUE (pumpUntil ([&] { return ! cancel.isOver(); }, 2000));
    runXdotool ({ "mouseup", "1" });
    ASSERT_TRUE (pumpUntil (
        [] { return ! juce::Desktop::getInstance().getMainMouseSource().isDragging(); }, 2000));
    runXdotool ({ "mousemove_relative", "--", "0", "-80", "click", "1" });
    EXPECT_TRUE (waitForPage (0, 2000));
    testing_support::pumpFor (500);
    EXPECT_EQ (currentPage(), 0u);

    clickNext ({ "click", "--repeat", "2", "--delay", "150", "1" });
    ASSERT_TRUE (pumpUntil ([&] { return downloading().getProgress() > 0.25; }));
    clickNext ({ "click", "1" });
    EXPECT_EQ (currentPage(), 0u);

    // A second click released only after the double-click interval.
    const auto requests = server->getRequestCount (filePath);
    clickNext ({ "click", "1", "sleep", "0.15", "mousedown", "1", "sleep", "0.6", "mouseup", "1" });
    EXPECT_EQ (currentPage(), 1u);
    ASSERT_TRUE (waitForPage (2));
    EXPECT_NE (model->outcomeFlags & InstallerModel::downloadSucceeded, 0u);
    EXPECT_EQ (server->getRequestCount (filePath), requests + 1);
    expectTheServedInstallerAlone();

    // However long the run: a triple click, in a fresh window over a fresh folder.
    SetUp();
    prepareRoad ({ "--file-size", "2M", "--file-rate", "512K" });
    clickNext ({ "click", "--repeat", "3", "--delay", "250", "1" });
    EXPECT_EQ (currentPage(), 1u);
    ASSERT_TRUE (waitForPage (2));
    EXPECT_EQ (model->outcomeFlags, InstallerModel::downloadSucceeded);
    EXPECT_EQ (server->getRequestCount (filePath), 1);
    expectTheServedInstallerAlone();
}

TEST_F (DownloadRoad, ADoubleClickOnOpenFolderRevealsTheInstallerOnce)
{
    if (std::getenv ("LARKSPIRE_OWN_DISPLAY") == nullptr)
        GTEST_SKIP() << "real clicks need a display of their own";
    // No session bus: each reveal runs xdg-open, here a stand-in that counts its calls.
    const testing_support::TemporaryFolder bin;
    const auto calls = bin.get().getChildFile ("xdg-open.calls");
    bin.get()
        .getChildFile ("xdg-open")
        .replaceWithText ("#!/bin/sh\necho >> \"$0.calls\"\n", false, false, "\n");
    bin.get().getChildFile ("xdg-open").setExecutePermission (true);
    const auto binPath = bin.get().getFullPathName().toStdString();
    const ScopedEnvironment path ("PATH", binPath + ":" + std::getenv ("PATH"));
    const ScopedEnvironment noBus ("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
    const ScopedEnvironment runtime ("XDG_RUNTIME_DIR", binPath);
    prepareRoad ({ "--file-size", "64K" });
    pressNext();
    ASSERT_TRUE (waitForPage (2));

    // Then Return from the keyboard (the row without clicks), and a click of its own past the
    // double-click interval, each reveal again.
    for (const juce::String clicks : { "2", "", "1" })
    {
        SCOPED_TRACE (clicks.isEmpty() ? juce::String ("Return") : clicks + " clicks");
        const auto before = calls.getSize();
        if (clicks.isEmpty())
            pressReturnOn (*finished().nextButton);
        else
            clickNext ({ "click", "--repeat", clicks, "--delay", "150", "1" });
        ASSERT_TRUE (pumpUntil ([&] { return calls.getSize() > before; }));
        EXPECT_TRUE (BackgroundThreads::get().waitForAll (3000));
    }
    EXPECT_EQ (calls.getSize(), 3); // a line a call
}
