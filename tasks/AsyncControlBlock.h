#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

/** Shared by one run of a background task and its cancel function. The task polls the flag at
    its own cancellation points; nothing else is shared with the message thread. */
class AsyncControlBlock final : public std::enable_shared_from_this<AsyncControlBlock>
{
public:
    static constexpr std::uint32_t cancelledBit = 1u;

    bool isCancelled() const noexcept { return (flags.load() & cancelledBit) != 0; }

    /** Throws TaskCancelledError when the cancel bit is set. */
    void throwIfCancelled() const;

    std::atomic<std::uint32_t> flags { 0 };
};

/** (done, total, text): the meaning of the numbers belongs to the task and its receiver. */
using ProgressFunction = std::function<void (double, double, std::string)>;
