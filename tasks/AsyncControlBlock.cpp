#include "tasks/AsyncControlBlock.h"

#include "tasks/BackgroundThreads.h"
#include "tasks/ThrowErrors.h"

void AsyncControlBlock::throwIfCancelled() const
{
    if (isCancelled())
        throwTaskCancelled();
}

void AsyncControlBlock::interrupt() const
{
    const std::lock_guard<std::mutex> lock (interruptionLock);
    if (interruption)
        interruption();
}

void AsyncControlBlock::setInterruption (std::function<void()> newInterruption) const
{
    const std::lock_guard<std::mutex> lock (interruptionLock);
    interruption = std::move (newInterruption);

    // A cancel that came before the interruption was registered found nothing to run.
    if (isCancelled() && interruption)
        interruption();
}

void AsyncControlBlock::clearInterruption() const
{
    const std::lock_guard<std::mutex> lock (interruptionLock);
    interruption = nullptr;
}

std::function<void()> cancelFunctionFor (std::shared_ptr<AsyncControlBlock> block)
{
    return [block = std::move (block)]
    {
        // Once is enough: a second call finds the bit set and changes nothing.
        if ((block->flags.fetch_or (AsyncControlBlock::cancelledBit) &
             AsyncControlBlock::cancelledBit) != 0)
            return;

        if (! BackgroundThreads::get().start ([block] { block->interrupt(); }))
            block->interrupt();
    };
}
