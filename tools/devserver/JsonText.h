#pragma once

#include <cstdio>
#include <string>

namespace devserver
{
/** A JSON string literal for text; bytes of 0x80 and above pass through unchanged. */
inline std::string jsonString (const std::string& text)
{
    std::string quoted = "\"";
    for (const auto c : text)
    {
        if (c == '"' || c == '\\')
        {
            quoted += '\\';
            quoted += c;
        }
        else if (static_cast<unsigned char> (c) < 0x20)
        {
            char escaped[8];
            std::snprintf (escaped, sizeof (escaped), "\\u%04x", static_cast<unsigned char> (c));
            quoted += escaped;
        }
        else
        {
            quoted += c;
        }
    }
    return quoted + "\"";
}
} // namespace devserver
