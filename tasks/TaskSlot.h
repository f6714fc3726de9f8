#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>

/** The owner's side of one kind of background task. Message thread only.

    idle: no cancelTask and not finished; running: cancelTask set; finished: finished and no
    cancelTask. Only a cancel advances the generation counter, so every callback of a cancelled
    run sees a counter that no longer matches the value stamped at its start. */
struct TaskSlot final
{
    TaskSlot() = default;
    ~TaskSlot();

    /** Advances the counter and cancels the run in flight; does nothing on an idle slot. */
    void cancel() noexcept;

    bool isRunning() const noexcept { return static_cast<bool> (cancelTask); }

    /** True while no cancel happened since generationValue was read from this counter. */
    static bool isCurrent (const std::shared_ptr<std::uint64_t>& counter,
                           std::uint64_t generationValue) noexcept
    {
        return counter != nullptr && *counter == generationValue;
    }

    std::shared_ptr<std::uint64_t> generation = std::make_shared<std::uint64_t> (0);
    std::function<void()> cancelTask;
    std::exception_ptr error;
    bool finished = false;

    TaskSlot (const TaskSlot&) = delete;
    TaskSlot& operator= (const TaskSlot&) = delete;
};
