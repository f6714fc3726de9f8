#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

/** Every thread the wizard starts (the task runner's workers and interrupters, the Open Folder
    helper) starts here, so that shutdown can wait for them: none may run on into the process's
    exit, where it would race the message manager's deletion and the exit handlers. Ended threads
    are joined when the next one starts and by waitForAll. Any thread. */
class BackgroundThreads final
{
public:
    /** The process's one set. It is never destroyed: a thread that outlives the bounded wait at
        shutdown stays joinable, and a joinable std::thread's destructor would end the process. */
    static BackgroundThreads& get();

    /** Runs function on a new thread, where an exception it lets out is dropped; false when no
        thread could be started. */
    bool start (std::function<void()> function) noexcept;

    /** Waits at most timeoutMs for every thread started so far to end and joins those that
        did; true when none is left. Meanwhile isWaitedFor is true. */
    bool waitForAll (int timeoutMs);

    /** True while somebody waits for all threads to end (at shutdown): a thread that waits for
        another process stops waiting. */
    bool isWaitedFor() const;

    /** For tests: while set, start starts nothing and returns false, as when none can start. */
    void refuseStartsForTests (bool refuse) noexcept { startsRefused = refuse; }

private:
    struct Entry
    {
        std::thread thread;
        bool ended = false;
    };

    BackgroundThreads() = default;

    /** Moves the ended entries out (the lock held); the caller joins them. */
    std::list<Entry> takeEnded();

    mutable std::mutex lock;
    std::condition_variable endedSignal;
    std::list<Entry> running; // a list: an entry stays where its thread marks it ended
    int waiters = 0;
    std::atomic<bool> startsRefused { false };

    BackgroundThreads (const BackgroundThreads&) = delete;
    BackgroundThreads& operator= (const BackgroundThreads&) = delete;
};
