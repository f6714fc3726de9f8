// One download with the installer's own worker, for the benchmark scripts. With two arguments
// it prints the wall-clock seconds of the transfer (bench/download-throughput.sh reads CPU time
// and peak memory from outside). With a third, it cancels the download that many milliseconds
// after the start and prints the milliseconds from the cancel to the worker's end
// (bench/cancel-latency.sh).
#include "net/DownloadInstaller.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <thread>

int main (int argc, char** argv)
{
    if (argc != 3 && argc != 4)
    {
        std::fprintf (stderr, "usage: download_throughput DESTINATION LINK [CANCEL_AFTER_MS]\n");
        return 2;
    }

    // Cancelled as the wizard does it, with the function the task runner hands out.
    const auto control = std::make_shared<AsyncControlBlock>();
    const auto cancel = cancelFunctionFor (control);
    std::string failure;
    const auto download = [&]
    {
        try
        {
            downloadInstaller (argv[1], argv[2], 0, *control, [] (double, double, std::string) {});
        }
        catch (const std::exception& e)
        {
            failure = e.what();
        }
    };

    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();

    if (argc == 4)
    {
        std::thread worker (download);
        std::this_thread::sleep_for (std::chrono::milliseconds (std::atoi (argv[3])));
        const auto cancelled = Clock::now();
        cancel();
        worker.join();
        const std::chrono::duration<double, std::milli> latency = Clock::now() - cancelled;
        std::printf ("%.1f %s\n", latency.count(), failure.c_str());
        return 0;
    }

    download();
    if (! failure.empty())
    {
        std::fprintf (stderr, "download failed: %s\n", failure.c_str());
        return 1;
    }
    const std::chrono::duration<double> elapsed = Clock::now() - started;
    std::printf ("%.6f\n", elapsed.count());
    return 0;
}
