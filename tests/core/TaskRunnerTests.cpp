#include "net/ServerFetch.h"
#include "support/DevServer.h"
#include "support/PumpUntil.h"
#include "tasks/AsyncCall.h"
#include "tasks/TaskSlot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST (TaskRunner, ProgressPrecedesTheOutcomeAndNoCallbackOfACancelledRunApplies)
{
    auto slot = std::make_unique<TaskSlot>();
    const auto events = std::make_shared<std::string>(); // outlives the slot
    const auto start = [&] (std::function<int (const AsyncControlBlock&, ProgressFunction)> task)
    {
        // Like the model and the download page: the slot is touched only after the generation test.
        auto apply = [owner = slot.get(), counter = slot->generation, stamp = *slot->generation,
                      events] (int)
        {
            if (! TaskSlot::isCurrent (counter, stamp))
                *events += "dropped ";
            else
                owner->cancelTask = nullptr, *events += "applied ";
        };
        const auto progress = [events] (double done, auto...)
        { *events += std::to_string ((int) done) + " "; };
        slot->cancelTask =
            asyncCallDyn<int> (std::move (task), apply, progress, [apply] (auto) { apply (0); });
    };

    auto& threads = BackgroundThreads::get();
    // A function that throws ends its own thread, not the program.
    ASSERT_TRUE (threads.start ([] { throw std::runtime_error ("lost"); }));
    start ([] (const AsyncControlBlock&, ProgressFunction) { return 1; });
    ASSERT_TRUE (threads.waitForAll (10000));
    slot->cancel(); // after its result was posted
    slot->cancel(); // on an idle slot: changes nothing
    EXPECT_EQ (*slot->generation, 1u);
    start (
        [] (const AsyncControlBlock&, ProgressFunction progress) -> int
        {
            progress (1, 2, {}); // each report arrives before the outcome
            progress (2, 2, {});
            throw 2;
        });
    ASSERT_TRUE (testing_support::pumpUntil ([&] { return ! slot->isRunning(); }));

    const auto stage = std::make_shared<std::atomic<int>> (0); // 1: interruption set, 2: released
    const auto cancelWaited = std::make_shared<std::atomic<bool>> (false);
    start (
        [stage, cancelWaited] (const AsyncControlBlock& control, ProgressFunction)
        {
            // Cutting a request short can take as long as a host-name lookup: the cancel leaves
            // that to a thread of its own instead of waiting for it.
            control.setInterruption (
                [stage, cancelWaited]
                {
                    for (int i = 0; i < 5000 && *stage < 2; ++i)
                        std::this_thread::sleep_for (std::chrono::milliseconds (1));
                    *cancelWaited = *stage < 2;
                });
            *stage = 1;
            // Longer than the wait below: a run that is never cancelled fails the test.
            for (int i = 0; i < 20000 && ! control.isCancelled(); ++i)
                std::this_thread::sleep_for (std::chrono::milliseconds (1));
            control.clearInterruption();
            return 3;
        });
    ASSERT_TRUE (testing_support::pumpUntil ([&] { return *stage == 1; }));
    slot->cancel();
    *stage = 2;
    ASSERT_TRUE (threads.waitForAll (10000));
    EXPECT_FALSE (*cancelWaited);

    // A request that is never answered: the worker is kept until the cancel's interrupter cuts
    // the request short, and both threads are joined.
    const testing_support::DevServer server ({ "--version-hang" });
    start ([url = juce::URL (server.getUrl ("/api/v1/version-info"))] (
               const AsyncControlBlock& control, ProgressFunction)
           { return (int) fetchServerResponse (control, url).size(); });
    ASSERT_TRUE (testing_support::pumpUntil (
        [&] { return server.getRequestCount ("/api/v1/version-info") == 1; }));
    EXPECT_FALSE (threads.waitForAll (0));
    slot.reset(); // cancels the run
    EXPECT_TRUE (threads.waitForAll (5000));
    testing_support::pumpFor (30);
    EXPECT_EQ (*events, "dropped 1 2 applied dropped dropped ");
}
