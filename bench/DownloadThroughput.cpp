// One download with the installer's own worker, for bench/download-throughput.sh: prints the
// wall-clock seconds of the transfer (the script reads CPU time and peak memory from outside).
#include "net/DownloadInstaller.h"

#include <chrono>
#include <cstdio>
#include <exception>

int main (int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf (stderr, "usage: download_throughput DESTINATION LINK\n");
        return 2;
    }

    AsyncControlBlock control;
    const auto started = std::chrono::steady_clock::now();
    try
    {
        downloadInstaller (argv[1], argv[2], control, [] (double, double, std::string) {});
    }
    catch (const std::exception& e)
    {
        std::fprintf (stderr, "download failed: %s\n", e.what());
        return 1;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    std::printf ("%.6f\n", elapsed.count());
    return 0;
}
