#include "support/PumpUntil.h"
#include "tasks/AsyncCall.h"
#include "tasks/ClientError.h"
#include "tasks/HttpError.h"
#include "tasks/TaskCancelledError.h"
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
/** Waits (without running the message loop) until the worker's closure, and so the task that
    holds token, is gone: by then the run's outcome has been posted. */
bool waitUntilWorkerEnded (const std::weak_ptr<int>& token)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (10);
    while (! token.expired())
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }
    return true;
}

std::string describe (std::exception_ptr error)
{
    try
    {
        std::rethrow_exception (error);
    }
    catch (const HttpError& e)
    {
        return std::string ("HttpError: ") + e.what();
    }
    catch (const std::bad_function_call&)
    {
        return "bad_function_call";
    }
    catch (int value)
    {
        return "int: " + std::to_string (value);
    }
    catch (...)
    {
        return "other";
    }
}

/** An owner of a task in the way the model and the download page own theirs. */
struct Observed
{
    std::atomic<int> callbacks { 0 };
    std::atomic<bool> ownerDestroyed { false };
    std::atomic<int> touchedDestroyedOwner { 0 };
};

struct Owner
{
    explicit Owner (std::shared_ptr<Observed> o)
        : observed (std::move (o))
    {
    }
    ~Owner() { observed->ownerDestroyed = true; }

    std::shared_ptr<Observed> observed;
    TaskSlot slot;
    int applied = 0;
};

struct Resource
{
    Owner* owner = nullptr;
    TaskSlot* slot = nullptr;
    std::shared_ptr<std::uint64_t> generationCounter;
    std::uint64_t generation = 0;
};

/** Starts a run on owner's slot; its callbacks count themselves in observed (which outlives
    the owner) and touch the owner only after the generation test. */
void startRun (Owner& owner, std::function<int (const AsyncControlBlock&, ProgressFunction)> task,
               std::shared_ptr<Observed> observed)
{
    auto resource = std::make_shared<Resource>();
    resource->owner = &owner;
    resource->slot = &owner.slot;
    resource->generationCounter = owner.slot.generation;
    resource->generation = *owner.slot.generation;

    auto onResult = [resource, observed] (int)
    {
        ++observed->callbacks;
        if (! TaskSlot::isCurrent (resource->generationCounter, resource->generation))
            return;
        if (observed->ownerDestroyed)
            return void (++observed->touchedDestroyedOwner);
        ++resource->owner->applied;
        resource->slot->cancelTask = nullptr;
        resource->slot->finished = true;
    };
    auto onError = [resource, observed] (std::exception_ptr error)
    {
        ++observed->callbacks;
        if (! TaskSlot::isCurrent (resource->generationCounter, resource->generation))
            return;
        if (observed->ownerDestroyed)
            return void (++observed->touchedDestroyedOwner);
        ++resource->owner->applied;
        resource->slot->cancelTask = nullptr;
        resource->slot->error = error;
    };

    owner.slot.cancelTask = asyncCallDyn<int> (std::move (task), onResult, {}, onError);
    owner.slot.error = nullptr;
    owner.slot.finished = false;
}
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

    const std::vector<std::string> expected { "step 1/5", "step 2/5", "step 3/5",
                                              "step 4/5", "step 5/5", "result 42" };
    EXPECT_EQ (events, expected);
}

TEST (TaskRunner, EveryKindOfFailureEndsInOneErrorCallback)
{
    using Task = std::function<int (const AsyncControlBlock&, ProgressFunction)>;
    const std::vector<std::pair<Task, std::string>> cases {
        { [] (const AsyncControlBlock&, ProgressFunction) -> int { throwForHttpStatus (503); },
          "HttpError: HTTP error code 503" },
        { [] (const AsyncControlBlock&, ProgressFunction) -> int { throw 7; }, "int: 7" },
        { nullptr, "bad_function_call" }, // an empty task
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
        EXPECT_EQ (describe (errors.front()), expected);
    }
}

TEST (TaskRunner, ProgressWithoutReceiverPostsNothingAndDoesNotFail)
{
    int result = 0;
    asyncCallDyn<int> (
        [] (const AsyncControlBlock&, ProgressFunction progress)
        {
            progress (1.0, 2.0, "ignored");
            return 5;
        },
        [&] (int value) { result = value; }, {}, [] (std::exception_ptr) { FAIL(); });

    EXPECT_TRUE (pumpUntil ([&] { return result == 5; }));
}

TEST (TaskRunner, CancelAfterTheResultWasPostedDropsIt)
{
    auto observed = std::make_shared<Observed>();
    Owner owner (observed);
    auto token = std::make_shared<int> (0);
    std::weak_ptr<int> watch = token;

    startRun (
        owner, [token] (const AsyncControlBlock&, ProgressFunction) { return 1; }, observed);
    token.reset();

    ASSERT_TRUE (waitUntilWorkerEnded (watch));
    ASSERT_TRUE (owner.slot.isRunning());
    owner.slot.cancel();

    ASSERT_TRUE (pumpUntil ([&] { return observed->callbacks == 1; }));
    pumpFor (30);
    EXPECT_EQ (owner.applied, 0);
    EXPECT_FALSE (owner.slot.finished);
    EXPECT_FALSE (owner.slot.isRunning());
    EXPECT_EQ (*owner.slot.generation, 1u);

    // A cancel of an idle slot changes nothing.
    owner.slot.cancel();
    EXPECT_EQ (*owner.slot.generation, 1u);
}

TEST (TaskRunner, DestroyingTheOwnerMidRunLeavesNoCallbackTouchingIt)
{
    auto observed = std::make_shared<Observed>();
    auto owner = std::make_unique<Owner> (observed);
    auto release = std::make_shared<std::atomic<bool>> (false);
    auto sawCancel = std::make_shared<std::atomic<bool>> (false);
    auto token = std::make_shared<int> (0);
    std::weak_ptr<int> watch = token;

    startRun (
        *owner,
        [release, sawCancel, token] (const AsyncControlBlock& control, ProgressFunction) -> int
        {
            while (! release->load())
                std::this_thread::sleep_for (std::chrono::milliseconds (1));
            sawCancel->store (control.isCancelled());
            control.throwIfCancelled();
            return 1;
        },
        observed);
    token.reset();

    owner.reset(); // the slot's destructor cancels the run
    release->store (true);

    ASSERT_TRUE (waitUntilWorkerEnded (watch));
    ASSERT_TRUE (pumpUntil ([&] { return observed->callbacks == 1; }));
    pumpFor (30);
    EXPECT_TRUE (sawCancel->load());
    EXPECT_EQ (observed->touchedDestroyedOwner, 0);
}

TEST (TaskRunner, SecondRunOnTheSameSlotKeepsTheGeneration)
{
    auto observed = std::make_shared<Observed>();
    Owner owner (observed);

    startRun (
        owner, [] (const AsyncControlBlock&, ProgressFunction) { return 1; }, observed);
    ASSERT_TRUE (pumpUntil ([&] { return owner.slot.finished; }));
    owner.slot.finished = false;
    startRun (
        owner, [] (const AsyncControlBlock&, ProgressFunction) { return 2; }, observed);
    ASSERT_TRUE (pumpUntil ([&] { return owner.slot.finished; }));

    EXPECT_EQ (owner.applied, 2);
    EXPECT_EQ (*owner.slot.generation, 0u);
}

TEST (ErrorClasses, HttpStatusGivesTheRightClassAndMessage)
{
    struct Row
    {
        int status;
        bool isHttpError;
    };
    for (const auto& row : { Row { 0, false }, Row { -1, false }, Row { 204, false },
                             Row { 404, false }, Row { 499, false }, Row { 500, true },
                             Row { 503, true }, Row { 599, true }, Row { 600, false } })
    {
        const auto expected = "HTTP error code " + std::to_string (row.status);
        try
        {
            throwForHttpStatus (row.status);
        }
        catch (const ServerError& e)
        {
            EXPECT_TRUE (row.isHttpError) << row.status;
            EXPECT_NE (dynamic_cast<const HttpError*> (&e), nullptr) << row.status;
            EXPECT_EQ (std::string (e.what()), expected);
        }
        catch (const ClientError& e)
        {
            EXPECT_FALSE (row.isHttpError) << row.status;
            EXPECT_EQ (std::string (e.what()), expected);
        }
    }

    EXPECT_THROW (throwForHttpStatus (503), NetworkError);
    EXPECT_THROW (throwForHttpStatus (503), DownloaderBaseError);
    EXPECT_THROW (throwForHttpStatus (404), NetworkError);
    EXPECT_STREQ (TaskCancelledError().what(), "async task is cancelled");
}
