#include "support/PumpUntil.h"
#include "tasks/AsyncCall.h"
#include "tasks/TaskSlot.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
/** Owns a task the way the model and the download page do: its callbacks touch it only after
    the generation test. They log what they did in `events`, which outlives the owner. */
struct Owner
{
    ~Owner() { *events += "gone "; }

    void start (std::function<int (const AsyncControlBlock&, ProgressFunction)> task)
    {
        auto apply =
            [this, counter = slot.generation, stamp = *slot.generation, seen = events] (int)
        {
            if (! TaskSlot::isCurrent (counter, stamp))
                *seen += "dropped ";
            else if (seen->find ("gone") != std::string::npos)
                *seen += "touched the gone owner ";
            else
                slot.cancelTask = nullptr, *seen += "applied ";
        };
        slot.cancelTask = asyncCallDyn<int> (std::move (task), apply, {},
                                             [apply] (std::exception_ptr) { apply (0); });
    }

    std::shared_ptr<std::string> events = std::make_shared<std::string>();
    TaskSlot slot;
};

/** Waits, without running the message loop, until the worker's closure, which holds token, is
    gone: by then the run's outcome has been posted. */
bool waitUntilWorkerEnded (std::shared_ptr<int>&& token)
{
    const std::weak_ptr<int> watch = std::exchange (token, nullptr);
    for (int i = 0; i < 10000 && ! watch.expired(); ++i)
        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    return watch.expired();
}
} // namespace

TEST (TaskRunner, NoCallbackOfACancelledRunApplies)
{
    auto owner = std::make_unique<Owner>();
    const auto events = owner->events;
    auto token = std::make_shared<int>();
    owner->start ([token] (const AsyncControlBlock&, ProgressFunction) { return 1; });
    ASSERT_TRUE (waitUntilWorkerEnded (std::move (token)));
    owner->slot.cancel(); // after its result was posted
    owner->slot.cancel(); // on an idle slot: changes nothing
    EXPECT_EQ (*owner->slot.generation, 1u);
    owner->start ([] (const AsyncControlBlock&, ProgressFunction) -> int { throw 2; });
    ASSERT_TRUE (testing_support::pumpUntil ([&] { return ! owner->slot.isRunning(); }));

    token = std::make_shared<int>();
    owner->start (
        [token] (const AsyncControlBlock& control, ProgressFunction)
        {
            // Longer than the wait below: a run that is never cancelled fails the test.
            for (int i = 0; i < 20000 && ! control.isCancelled(); ++i)
                std::this_thread::sleep_for (std::chrono::milliseconds (1));
            return 3;
        });
    owner.reset(); // its slot cancels the run
    ASSERT_TRUE (waitUntilWorkerEnded (std::move (token)));
    testing_support::pumpFor (30);
    EXPECT_EQ (*events, "dropped applied gone dropped ");
}
