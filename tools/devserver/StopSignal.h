#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace devserver
{
/** Wakes every stalled or hanging answer when the server stops. */
class StopSignal final
{
public:
    void trigger()
    {
        {
            std::lock_guard<std::mutex> lock (mutex);
            stopped = true;
        }
        condition.notify_all();
    }

    bool isStopped()
    {
        std::lock_guard<std::mutex> lock (mutex);
        return stopped;
    }

    /** Waits until the deadline or the stop; returns whether the server is stopping. */
    bool waitUntil (std::chrono::steady_clock::time_point deadline)
    {
        std::unique_lock<std::mutex> lock (mutex);
        return condition.wait_until (lock, deadline, [this] { return stopped; });
    }

    void waitForever()
    {
        std::unique_lock<std::mutex> lock (mutex);
        condition.wait (lock, [this] { return stopped; });
    }

private:
    std::mutex mutex;
    std::condition_variable condition;
    bool stopped = false;
};
} // namespace devserver
