#pragma once

#include "tasks/AsyncControlBlock.h"
#include "tasks/ClientError.h"

#include <chrono>
#include <string>
#include <thread>

/** Runs attempt and, after a ClientError, runs it again, at most three times more (worker
    thread). Before each retry it reports (retry number, 3.0, noticeText), then pauses ten
    100 ms slices, each ending with a test of the cancel flag. The fourth ClientError, and any
    other exception at once, goes on to the caller. */
template <typename Attempt>
auto retryOnClientError (const AsyncControlBlock& control, const ProgressFunction& progress,
                         const std::string& noticeText, Attempt&& attempt) -> decltype (attempt())
{
    constexpr int lastRetry = 3;

    for (int retry = 0;; ++retry)
    {
        if (retry > 0)
        {
            progress (retry, 3.0, noticeText);

            for (int slice = 0; slice < 10; ++slice)
            {
                std::this_thread::sleep_for (std::chrono::milliseconds (100));
                control.throwIfCancelled();
            }
        }

        try
        {
            return attempt();
        }
        catch (const ClientError&)
        {
            if (retry == lastRetry)
                throw;
        }
    }
}
