#pragma once

#include <stdexcept>

/** Root of every failure of the downloader's own work. Carries only its message; never thrown
    itself. */
class DownloaderBaseError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
    ~DownloaderBaseError() override;
};
