#pragma once

#include "tasks/DownloaderBaseError.h"

/** Root of the failures of a network exchange; never thrown itself. */
class NetworkError : public DownloaderBaseError
{
public:
    using DownloaderBaseError::DownloaderBaseError;
    ~NetworkError() override;
};
