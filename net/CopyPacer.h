#pragma once

#include <chrono>
#include <cstdint>

/** Sizes the reads of a download's copy loop and thins out its progress reports (worker
    thread).

    JUCE's curl stream returns from read() only once the whole requested count is in, or the body
    has ended: a 128 KiB read on a 20 KiB/s link holds every byte back for over six seconds. So
    reads start small, double while they come back quickly and halve while they wait long: on a
    slow link a read returns a few times a second, at full speed each is as large as the buffer
    (few calls, and few moves inside the stream's own buffer). A read that waited for the link is
    reported; quick ones only when the count reaches a multiple of the largest read, so at full
    speed the message thread gets one post per largest read, as with reads of that size alone.
    Reads end on multiples of their size and so never cross such a multiple: a link that stalls
    there has every byte before it reported. */
class CopyPacer final
{
public:
    using Clock = std::chrono::steady_clock;

    static constexpr int smallestRead = 4096;
    /** Quicker reads did not wait for the link, and grow. */
    static constexpr Clock::duration quickRead = std::chrono::milliseconds (25);
    /** Longer reads hold the figures back, and shrink. */
    static constexpr Clock::duration longRead = std::chrono::milliseconds (100);

    /** largestRead: the copy buffer's size, a power of two. */
    explicit CopyPacer (int largestRead) noexcept;

    /** How many bytes to ask the next read for. */
    int readSize() const noexcept;

    /** After a read of readSize() bytes that began at began and returned got bytes at now,
        received in all: adapts the size, and tells whether to report received. */
    bool readDone (int got, std::int64_t received, Clock::time_point began,
                   Clock::time_point now) noexcept;

private:
    int largest;
    int size;
    std::int64_t position = 0;
    std::int64_t lastReported = 0;
};
