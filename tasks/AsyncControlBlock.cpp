#include "tasks/AsyncControlBlock.h"

#include "tasks/ThrowErrors.h"

void AsyncControlBlock::throwIfCancelled() const
{
    if (isCancelled())
        throwTaskCancelled();
}

void AsyncControlBlock::cancel()
{
    flags.fetch_or (cancelledBit);
    interrupt();
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
