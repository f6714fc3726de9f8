#pragma once

#include <string>

/** The installed editor found at start-up. */
struct LarkspireCharacterInfo final
{
    std::string bundlePath;
    std::string executablePath;
    std::string version;
};
