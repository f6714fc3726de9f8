#include "tasks/BackgroundThreads.h"

#include <chrono>
#include <utility>

BackgroundThreads& BackgroundThreads::get()
{
    static auto* const threads = new BackgroundThreads();
    return *threads;
}

bool BackgroundThreads::start (std::function<void()> function) noexcept
{
    if (startsRefused)
        return false;

    std::list<Entry> ended;
    bool started = false;
    {
        const std::lock_guard<std::mutex> guard (lock);
        ended = takeEnded();

        // No thread or no memory for one: false, and nothing is left behind to wait for.
        try
        {
            auto& entry = running.emplace_back();
            try
            {
                entry.thread = std::thread (
                    [this, &entry, function = std::move (function)]() mutable
                    {
                        // The closure's copies go before the thread counts as ended. An
                        // exception let out would end the whole process: it ends the thread.
                        try
                        {
                            std::exchange (function, nullptr)();
                        }
                        catch (...)
                        {
                        }

                        const std::lock_guard<std::mutex> endGuard (lock);
                        entry.ended = true;
                        endedSignal.notify_all();
                    });
                started = true;
            }
            catch (...)
            {
                running.pop_back();
            }
        }
        catch (...)
        {
        }
    }

    for (auto& entry : ended)
        entry.thread.join();

    return started;
}

bool BackgroundThreads::waitForAll (int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds (timeoutMs);
    std::list<Entry> ended;
    bool allEnded = false;
    {
        std::unique_lock<std::mutex> guard (lock);
        ++waiters;
        allEnded = endedSignal.wait_until (guard, deadline,
                                           [this]
                                           {
                                               for (const auto& entry : running)
                                                   if (! entry.ended)
                                                       return false;
                                               return true;
                                           });
        --waiters;
        ended = takeEnded();
    }

    for (auto& entry : ended)
        entry.thread.join();

    return allEnded;
}

bool BackgroundThreads::isWaitedFor() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return waiters > 0;
}

std::list<BackgroundThreads::Entry> BackgroundThreads::takeEnded()
{
    std::list<Entry> ended;
    for (auto entry = running.begin(); entry != running.end();)
    {
        const auto next = std::next (entry);
        if (entry->ended)
            ended.splice (ended.end(), running, entry);
        entry = next;
    }
    return ended;
}
