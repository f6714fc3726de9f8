#include "tasks/AsyncControlBlock.h"

#include "tasks/ThrowErrors.h"

void AsyncControlBlock::throwIfCancelled() const
{
    if (isCancelled())
        throwTaskCancelled();
}
