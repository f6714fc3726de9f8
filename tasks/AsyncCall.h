#pragma once

#include "tasks/AsyncControlBlock.h"
#include "tasks/BackgroundThreads.h"

#include <juce_events/juce_events.h>

#include <exception>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

/** Runs task on a new thread of its own (one of BackgroundThreads, which shutdown waits for) and
    returns its cancel function, made by cancelFunctionFor (message thread only).

    Exactly one of onResult / onError is posted back to the message thread, after every progress
    report of the run; onProgress may be empty. The runner never looks at the cancel flag itself:
    the task polls it and throws TaskCancelledError, and the owner drops a cancelled run's late
    callbacks by its generation test. The cancel function returns at once; a blocked request of
    the task is interrupted from a thread of its own. Calls posted after the message loop was
    told to stop are discarded by JUCE, so nothing is delivered during shutdown. */
template <typename T>
static std::function<void()>
    asyncCallDyn (std::function<T (const AsyncControlBlock&, ProgressFunction)> task,
                  std::function<void (T)> onResult, ProgressFunction onProgress,
                  std::function<void (std::exception_ptr)> onError)
{
    auto block = std::make_shared<AsyncControlBlock>();

    auto worker = [task = std::move (task), onResult, onError, onProgress, block]
    {
        ProgressFunction forwarder = [onProgress] (double done, double total, std::string text)
        {
            if (! onProgress)
                return;

            juce::MessageManager::callAsync ([onProgress, done, total, text = std::move (text)]
                                             { onProgress (done, total, text); });
        };

        try
        {
            auto result = task (*block, std::move (forwarder));
            juce::MessageManager::callAsync ([onResult, result = std::move (result)]
                                             { onResult (result); });
        }
        catch (...)
        {
            juce::MessageManager::callAsync ([onError, error = std::current_exception()]
                                             { onError (error); });
        }
    };

    if (! BackgroundThreads::get().start (std::move (worker)))
    {
        // No thread: report it like a failed run, or the owner's slot would stay "running" forever.
        juce::MessageManager::callAsync (
            [onError]
            {
                onError (std::make_exception_ptr (
                    std::runtime_error ("failed to start a background thread")));
            });
    }

    return cancelFunctionFor (std::move (block));
}
