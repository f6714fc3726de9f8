#include "net/CopyPacer.h"

#include <algorithm>

CopyPacer::CopyPacer (int largestRead) noexcept
    : largest (std::max (1, largestRead))
    , size (std::min (smallestRead, largest))
{
}

int CopyPacer::readSize() const noexcept
{
    return size - static_cast<int> (position % size);
}

bool CopyPacer::readDone (int got, std::int64_t received, Clock::time_point began,
                          Clock::time_point now) noexcept
{
    const auto asked = readSize();
    const auto took = now - began;
    position = received;

    // Only a full read tells how fast the bytes come: a short one met the end of the body.
    if (got >= asked)
    {
        if (took < quickRead)
            size = std::min (largest, size * 2);
        else if (took > longRead)
            size = std::max (std::min (smallestRead, largest), size / 2);
    }

    if (received == lastReported ||
        (took < quickRead && received / largest == lastReported / largest))
        return false;

    lastReported = received;
    return true;
}
