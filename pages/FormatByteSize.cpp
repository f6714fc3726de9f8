#include "pages/FormatByteSize.h"

#include <fmt/format.h>

// The thresholds are 1.1 MiB and 1.1 GiB written out, so a value of exactly that size compares
// equal rather than against a product rounded differently.
std::string formatByteSize (double value)
{
    if (value > 1181116006.4)
        return fmt::format ("{:.1f} {}", value / 1073741824.0, "GiB");

    if (value > 1153433.6)
        return fmt::format ("{:.1f} {}", value / 1048576.0, "MiB");

    return fmt::format ("{:.1f} {}", value / 1024.0, "KiB");
}
