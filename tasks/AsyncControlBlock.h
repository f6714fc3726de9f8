#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

/** Shared by one run of a background task and its cancel function. The task polls the flag at
    its own cancellation points; a call that blocks until another thread cuts it short (a network
    request) registers an interruption, which the cancel runs on the cancelling thread. */
class AsyncControlBlock final : public std::enable_shared_from_this<AsyncControlBlock>
{
public:
    static constexpr std::uint32_t cancelledBit = 1u;

    bool isCancelled() const noexcept { return (flags.load() & cancelledBit) != 0; }

    /** Throws TaskCancelledError when the cancel bit is set. */
    void throwIfCancelled() const;

    /** Runs the registered interruption, if any (any thread). Cutting a request short can wait
        for curl's host-name lookup to end, so the cancel function leaves it to a thread of its
        own. */
    void interrupt() const;

    /** Registers what cuts the task's blocking call short; one at a time. Registered after a
        cancel, it runs at once, so no blocking call can start unnoticed after the cancel. */
    void setInterruption (std::function<void()> interruption) const;

    /** Unregisters the interruption; returns only once no run of it is under way, so whatever
        it reaches may be destroyed afterwards. */
    void clearInterruption() const;

    std::atomic<std::uint32_t> flags { 0 };

private:
    mutable std::mutex interruptionLock;
    mutable std::function<void()> interruption;
};

/** The one way to cancel a run: the function that asyncCallDyn hands out for block. It sets
    the cancel bit and returns at once; a blocked request of the task is interrupted from a
    thread of BackgroundThreads (or from this one when none can be started). Calling it again
    changes nothing further. */
std::function<void()> cancelFunctionFor (std::shared_ptr<AsyncControlBlock> block);

/** (done, total, text): the meaning of the numbers belongs to the task and its receiver. */
using ProgressFunction = std::function<void (double, double, std::string)>;
