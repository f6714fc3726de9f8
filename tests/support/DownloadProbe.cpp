// Runs one download and prints its outcome, so a test can run the worker in a private mount
// namespace (read-only folders, a full file system) as a child process.
#include "net/DownloadInstaller.h"
#include "tasks/ClientError.h"
#include "tasks/IOError.h"
#include "tasks/ServerError.h"

#include <iostream>

int main (int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: download_probe DESTINATION LINK\n";
        return 2;
    }

    AsyncControlBlock control;
    try
    {
        downloadInstaller (argv[1], argv[2], control, [] (double, double, std::string) {});
        std::cout << "ok" << std::endl;
    }
    catch (const IOError& e)
    {
        std::cout << "IOError: " << e.what() << std::endl;
    }
    catch (const std::exception& e)
    {
        std::cout << "other: " << e.what() << std::endl;
    }
    return 0;
}
