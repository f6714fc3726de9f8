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

TEST (TaskRunner, ProgressArrivesInOrderBeforeExactlyOneOutcome)
{
    const auto stepsThen = [] (std::function<int()> end) -> Task
    {
        return [end] (const AsyncControlBlock&, ProgressFunction progress)
        {
            for (int i = 1; i <= 3; ++i)
                progress (i, 3.0, "step");
            return end();
        };
    };
    struct Row
    {
        Task task;
        bool receivesProgress;
        std::vector<std::string> expected;
    };
    const Row rows[] {
        { stepsThen ([] { return 42; }),
          true,
          { "step 1/3", "step 2/3", "step 3/3", "result 42" } },
        { stepsThen ([]() -> int { throwForHttpStatus (503); }),
          true,
          { "step 1/3", "step 2/3", "step 3/3", "error HttpError: HTTP error code 503" } },
        // Progress with no receiver is dropped, not a failure of its own.
        { stepsThen ([]() -> int { throw 7; }), false, { "error int: 7" } },
        { nullptr, true, { "error std::bad_function_call: bad_function_call" } }, // an empty task
    };

    for (const auto& row : rows)
    {
        std::vector<std::string> events;
        ProgressFunction onProgress = [&events] (double done, double total, std::string text)
        {
            events.push_back (text + " " + std::to_string ((int) done) + "/" +
                              std::to_string ((int) total));
        };
        asyncCallDyn<int> (
            row.task, [&] (int value) { events.push_back ("result " + std::to_string (value)); },
            row.receivesProgress ? onProgress : nullptr,
            [&] (std::exception_ptr error)
            { events.push_back ("error " + testing_support::describeError (error)); });

        ASSERT_TRUE (
            pumpUntil ([&] { return ! events.empty() && events.back().find ("step") != 0; }));
        pumpFor (30);
        EXPECT_EQ (events, row.expected);
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
