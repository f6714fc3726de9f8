#pragma once

#include "tasks/DownloaderBaseError.h"

/** A file-system failure: a folder that cannot be created or used, or an installer file that cannot be written. */
class IOError final : public DownloaderBaseError
{
public:
    explicit IOError (const char* message)
        : DownloaderBaseError (message)
    {
    }
    ~IOError() override;
};
