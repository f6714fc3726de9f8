#pragma once

#include "net/LarkspireCharacterUpdateInfo.h"
#include "tasks/AsyncControlBlock.h"

#include <memory>

/** Asks the update server for the latest version and its download link (worker thread).
    Retries the pair of requests after a ClientError, at most four attempts in all. */
std::shared_ptr<const LarkspireCharacterUpdateInfo>
    fetchCharacterUpdateInfo (const AsyncControlBlock& control, ProgressFunction progress);
