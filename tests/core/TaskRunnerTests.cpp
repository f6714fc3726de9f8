#include "support/OutcomeText.h"
#include "support/PumpUntil.h"
#include "tasks/AsyncCall.h"
#include "tasks/TaskSlot.h"
#include "tasks/ThrowErrors.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using testing_support::pumpFor;
using testing_support::pumpUntil;

namespace
{
using Task = std::function<int (const AsyncControlBlock&, ProgressFunction)>;

/** Waits (without running the message loop) until the worker's closure, and so the task that
    holds token, is gone: by then the run's outcome has been posted. */
bool waitUntilWorkerEnded (const std::weak_ptr<int>& token)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (10);
    while (! token.expired() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    return token.expired();
}

/** What a run's callbacks saw; it outlives the owner. */
struct Observed
{
    std::atomic<int> callbacks { 0 }, touchedDestroyedOwner { 0 };
    std::atomic<bool> ownerDestroyed { false };
};

/** An owner of a task in the way the model and the download page own theirs: its callbacks
    touch it only after the generation test. */
struct Owner
{
    ~Owner() { observed->ownerDestroyed = true; }

    void start (Task task)
    {
        auto apply = [this, counter = slot.generation, stamp = *slot.generation,
                      seen = observed] (std::exception_ptr error)
        {
            ++seen->callbacks;
            if (! TaskSlot::isCurrent (counter, stamp))
                return;
            if (seen->ownerDestroyed)
                return void (++seen->touchedDestroyedOwner);
            ++applied;
            slot.cancelTask = nullptr;
            slot.error = error;
            slot.finished = error == nullptr;
        };
        slot.cancelTask = asyncCallDyn<int> (
            std::move (task), [apply] (int) { apply (nullptr); }, {}, apply);
        slot.finished = false;
    }

    std::shared_ptr<Observed> observed = std::make_shared<Observed>();
    TaskSlot slot;
    int applied = 0;
};
} // namespace

TEST (TaskRunner, ProgressArrivesInOrderBeforeExactlyOneResult)
{
    std::vector<std::string> events;
    asyncCallDyn<int> (
        [] (const AsyncControlBlock&, ProgressFunction progress)
        {
            for (int i = 1; i <= 5; ++i)
                progress (i, 5.0, "step");
            return 42;
        },
        [&events] (int value) { events.push_back ("result " + std::to_string (value)); },
        [&events] (double done, double total, std::string text)
        {
            events.push_back (text + " " + std::to_string ((int) done) + "/" +
                              std::to_string ((int) total));
        },
        [&events] (std::exception_ptr) { events.push_back ("error"); });

    ASSERT_TRUE (
        pumpUntil ([&] { return ! events.empty() && events.back().rfind ("result", 0) == 0; }));
    pumpFor (50);
    EXPECT_EQ (events, (std::vector<std::string> { "step 1/5", "step 2/5", "step 3/5", "step 4/5",
                                                   "step 5/5", "result 42" }));
}

TEST (TaskRunner, EveryKindOfFailureEndsInOneErrorCallback)
{
    const std::vector<std::pair<Task, std::string>> cases {
        { [] (const AsyncControlBlock&, ProgressFunction) -> int { throwForHttpStatus (503); },
          "HttpError: HTTP error code 503" },
        // Progress with no receiver is dropped, not a failure of its own.
        { [] (const AsyncControlBlock&, ProgressFunction progress) -> int
          {
              progress (1.0, 2.0, "ignored");
              throw 7;
          },
          "int: 7" },
        { nullptr, "other: bad_function_call" }, // an empty task
    };

    for (const auto& [task, expected] : cases)
    {
        int results = 0;
        std::vector<std::exception_ptr> errors;
        asyncCallDyn<int> (
            task, [&] (int) { ++results; }, {},
            [&] (std::exception_ptr error) { errors.push_back (error); });

        ASSERT_TRUE (pumpUntil ([&] { return ! errors.empty(); })) << expected;
        pumpFor (30);
        EXPECT_EQ (results, 0) << expected;
        ASSERT_EQ (errors.size(), 1u) << expected;
        EXPECT_EQ (testing_support::describeError (errors.front()), expected);
    }
}

TEST (TaskRunner, CancelAfterTheResultWasPostedDropsItAndTheSlotRunsAgain)
{
    Owner owner;
    auto token = std::make_shared<int> (0);
    std::weak_ptr<int> watch = token;
    owner.start ([token] (const AsyncControlBlock&, ProgressFunction) { return 1; });
    token.reset();

    ASSERT_TRUE (waitUntilWorkerEnded (watch));
    ASSERT_TRUE (owner.slot.isRunning());
    owner.slot.cancel();
    ASSERT_TRUE (pumpUntil ([&] { return owner.observed->callbacks == 1; }));
    pumpFor (30);
    EXPECT_EQ (owner.applied, 0);
    EXPECT_FALSE (owner.slot.finished);
    EXPECT_FALSE (owner.slot.isRunning());

    owner.slot.cancel(); // on an idle slot: changes nothing
    EXPECT_EQ (*owner.slot.generation, 1u);

    owner.start ([] (const AsyncControlBlock&, ProgressFunction) { return 2; });
    ASSERT_TRUE (pumpUntil ([&] { return owner.slot.finished; }));
    EXPECT_EQ (owner.applied, 1);
}

TEST (TaskRunner, DestroyingTheOwnerMidRunLeavesNoCallbackTouchingIt)
{
    auto owner = std::make_unique<Owner>();
    const auto observed = owner->observed;
    auto release = std::make_shared<std::atomic<bool>> (false);
    auto sawCancel = std::make_shared<std::atomic<bool>> (false);
    auto token = std::make_shared<int> (0);
    std::weak_ptr<int> watch = token;

    owner->start (
        [release, sawCancel, token] (const AsyncControlBlock& control, ProgressFunction) -> int
        {
            while (! release->load())
                std::this_thread::sleep_for (std::chrono::milliseconds (1));
            sawCancel->store (control.isCancelled());
            control.throwIfCancelled();
            return 1;
        });
    token.reset();

    owner.reset(); // the slot's destructor cancels the run
    release->store (true);

    ASSERT_TRUE (waitUntilWorkerEnded (watch));
    ASSERT_TRUE (pumpUntil ([&] { return observed->callbacks == 1; }));
    pumpFor (30);
    EXPECT_TRUE (sawCancel->load());
    EXPECT_EQ (observed->touchedDestroyedOwner, 0);
}

TEST (ErrorClasses, OnlyFiveHundredsAreServerErrors)
{
    for (const int status : { 0, -1, 204, 404, 499, 500, 503, 599, 600 })
    {
        const auto expectedClass = status >= 500 && status <= 599 ? "HttpError" : "ClientError";
        EXPECT_EQ (testing_support::outcomeOf ([status] { throwForHttpStatus (status); }),
                   expectedClass + std::string (": HTTP error code ") + std::to_string (status));
    }
}
