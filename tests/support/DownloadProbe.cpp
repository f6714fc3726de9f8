// Runs one download and prints its outcome, so a test can run the worker in a private mount
// namespace (read-only folders, a full file system) as a child process.
#include "net/DownloadInstaller.h"
#include "support/OutcomeText.h"

#include <iostream>

int main (int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: download_probe DESTINATION LINK\n";
        return 2;
    }
    AsyncControlBlock control;
    std::cout << testing_support::outcomeOf (
                     [&] {
                         downloadInstaller (argv[1], argv[2], control,
                                            [] (double, double, std::string) {});
                     })
              << std::endl;
    return 0;
}
