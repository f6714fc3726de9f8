#include "model/InstallerModel.h"

#include "net/FetchCharacterUpdateInfo.h"
#include "tasks/AsyncCall.h"

namespace
{
/** What the update check's callbacks share: the generation test tells them whether their run
    is still the current one before they touch the model. */
struct TaskResource final
{
    InstallerModel* model = nullptr;
    TaskSlot* slot = nullptr;
    std::shared_ptr<std::uint64_t> generationCounter;
    std::uint64_t generation = 0;
    bool markFinishedOnError = false;

    bool isCurrent() const { return TaskSlot::isCurrent (generationCounter, generation); }
};

using UpdateInfoPointer = std::shared_ptr<const LarkspireCharacterUpdateInfo>;
} // namespace

void InstallerModel::requestRunInfoCheck()
{
    if (updateTask.finished || updateTask.cancelTask)
        return;

    updateInfo = nullptr;

    auto resource = std::make_shared<TaskResource>();
    resource->model = this;
    resource->slot = &updateTask;
    resource->generationCounter = updateTask.generation;
    resource->generation = *updateTask.generation;
    resource->markFinishedOnError = false;

    auto task = [] (const AsyncControlBlock& control, ProgressFunction progress)
    { return fetchCharacterUpdateInfo (control, std::move (progress)); };

    auto onResult = [resource] (UpdateInfoPointer result)
    {
        if (! resource->isCurrent())
            return;

        resource->model->updateInfo = std::move (result);
        resource->slot->cancelTask = nullptr;
        resource->slot->finished = true;
    };

    auto onError = [resource] (std::exception_ptr error)
    {
        if (! resource->isCurrent())
            return;

        resource->slot->cancelTask = nullptr;
        resource->slot->error = error;
        if (resource->markFinishedOnError)
            resource->slot->finished = true;
    };

    updateTask.cancelTask = asyncCallDyn<UpdateInfoPointer> (task, onResult, {}, onError);
    updateTask.error = nullptr;
    updateTask.finished = false;
}

bool InstallerModel::isRunInfoCheckFinished() const noexcept
{
    return updateTask.finished;
}

bool InstallerModel::isRunInfoCheckIdle() const noexcept
{
    return ! updateTask.finished && ! updateTask.cancelTask;
}
