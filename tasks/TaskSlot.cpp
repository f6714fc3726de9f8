#include "tasks/TaskSlot.h"

TaskSlot::~TaskSlot()
{
    cancel();
}

void TaskSlot::cancel() noexcept
{
    if (! cancelTask)
        return;

    ++*generation;
    auto cancelFunction = std::move (cancelTask);
    cancelTask = nullptr;
    cancelFunction();
}
