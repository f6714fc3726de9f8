#pragma once

#include <cstdint>
#include <string>

/** What the update server says about the editor's latest release. Made once by the update
    request and shared read-only between threads. */
struct LarkspireCharacterUpdateInfo final
{
    std::string downloadLink;
    std::string latestVersionString;
    std::int32_t latestVersionNumber = 0;
    /** "totalSize" of the download-links answer (bytes, as announced by the server). */
    std::int64_t totalSize = 0;
};
