#include "model/SystemLocale.h"

#include <cstdlib>

SystemLocale parseLocaleName (const std::string& localeName)
{
    // language[_territory][.codeset][@modifier]
    auto name = localeName.substr (0, localeName.find ('@'));
    name = name.substr (0, name.find ('.'));

    if (name.empty() || name == "C" || name == "POSIX")
        return {};

    const auto underscore = name.find ('_');

    if (underscore == std::string::npos)
        return { name, {} };

    return { name.substr (0, underscore), name.substr (underscore + 1) };
}

SystemLocale currentSystemLocale()
{
    for (const auto* variable : { "LC_ALL", "LC_MESSAGES", "LANG" })
    {
        const auto* value = std::getenv (variable);

        if (value != nullptr && *value != '\0')
            return parseLocaleName (value);
    }

    return {};
}
