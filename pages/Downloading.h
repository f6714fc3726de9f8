#pragma once

#include "pages/ClickRunGuard.h"
#include "pages/InstallerPage.h"
#include "tasks/TaskSlot.h"

#include <boost/circular_buffer.hpp>

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <variant>

/** Middle page: downloads the installer on a background task while it shows progress, sizes
    and speed, then moves on to Finished. Cancel stops the download and goes back to Welcome;
    the next Next starts a fresh one. The later clicks of a double or triple click on Next land
    on Cancel, and are ignored (ClickRunGuard). */
class Downloading final
    : public InstallerPage
    , private juce::Timer
{
public:
    enum State : int
    {
        notStarted = 0,
        downloading = 1,
        done = 6
    };

    Downloading();
    ~Downloading() override;

    void setVisible (bool shouldBeVisible) override;
    void updateUI() override;

    double getProgress() const noexcept { return progress; }
    int getRetryCount() const noexcept { return retryCount; }
    /** Whether the 100 ms refresh of the figures runs: only while the page shows. */
    bool isRefreshing() const noexcept { return isTimerRunning(); }

    /** Bytes per second over a full window of samples taken 100 ms apart; 0 until it is full. */
    static double speedOf (const boost::circular_buffer<double>& window);

    /** The size line: "done / total (speed/s)", without the total when none is announced
        (negative), without the speed when it is 0 or less. */
    static std::string sizeLine (double bytes, double total, double speed);

    /** What the progress bar shows: the fraction done, or -1 (busy) without a usable total. */
    static double progressFor (double bytes, double total);

private:
    struct TaskResource final
    {
        Downloading* page = nullptr;
        TaskSlot* slot = nullptr;
        std::shared_ptr<std::uint64_t> generationCounter;
        std::uint64_t generation = 0;
        bool markFinishedOnError = false;
    };

    void timerCallback() override;
    void cancelPressed();
    void startDownload();
    void showDownloadFigures();
    void progressReported (double amount, double total, const std::string& text);
    void downloadSucceeded (const juce::String& destinationPath);
    void downloadFailed (std::exception_ptr error);

    State state = notStarted;
    TaskSlot downloadTask;
    double progress = 0.0;
    double bytesDownloaded = 0.0;
    double totalBytes = 1e-5;
    boost::circular_buffer<double> speedWindow { 30 };
    int retryCount = 0;
    bool retrying = false;
    /** The most retries the worker makes, as its retry notices say. */
    int retryAttempts = 0;
    /** Tells the later clicks of a quick run on Next from a click on Cancel. */
    ClickRunGuard cancelGuard { *nextButton };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Downloading)
};
