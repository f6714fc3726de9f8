#include "net/CopyPacer.h"

#include <algorithm>

CopyPacer::CopyPacer (int largestRead, Clock::time_point start) noexcept
    : largest (std::max (1, largestRead))
    , size (std::min (smallestRead, largest))
    , lastReport (start)
{
}

bool CopyPacer::readDone (int got, std::int64_t received, Clock::time_point began,
                          Clock::time_point now) noexcept
{
    // Only a full read says how fast the bytes come: a short one met the end of the body.
    if (got >= size)
    {
        const auto took = now - began;

        if (took < quickRead)
            size = std::min (largest, size * 2);
        else if (took > longRead)
            size = std::max (std::min (smallestRead, largest), size / 2);
    }

    if (received == lastReported ||
        (received - lastReported < largest && now - lastReport < reportInterval))
        return false;

    lastReported = received;
    lastReport = now;
    return true;
}
