#pragma once

#include "tasks/DownloaderBaseError.h"

/** Thrown by a background task that found its cancel flag set. */
class TaskCancelledError final : public DownloaderBaseError
{
public:
    TaskCancelledError()
        : DownloaderBaseError ("async task is cancelled")
    {
    }
    ~TaskCancelledError() override;
};
