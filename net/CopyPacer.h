#pragma once

#include <chrono>
#include <cstdint>

/** Sizes the reads of a download's copy loop and thins out its progress reports (worker
    thread).

    JUCE's curl stream returns from read() only once the whole requested count is in, or the body
    has ended: a 128 KiB read on a 20 KiB/s link holds every byte back for over six seconds. So
    reads start small, double while they come back quickly and halve while they wait long: on a
    slow link a read returns a few times a second, at full speed each is as large as the buffer
    (few calls, and few moves inside the stream's own buffer). A report is due once a largest
    read's worth of bytes or 100 ms has gone by since the last one, so the message thread gets
    no more than one post per largest read at full speed, and the figures still move on a slow
    link. */
class CopyPacer final
{
public:
    using Clock = std::chrono::steady_clock;

    static constexpr int smallestRead = 4096;
    static constexpr Clock::duration quickRead = std::chrono::milliseconds (25);
    static constexpr Clock::duration longRead = std::chrono::milliseconds (100);
    static constexpr Clock::duration reportInterval = std::chrono::milliseconds (100);

    /** largestRead: the copy buffer's size. start: when the first report (of 0 bytes) was made. */
    CopyPacer (int largestRead, Clock::time_point start) noexcept;

    /** How many bytes to ask the next read for. */
    int readSize() const noexcept { return size; }

    /** After a read asked for readSize() bytes at began and returned got at now: adapts the size,
        and tells whether to report the byte count, received, now. */
    bool readDone (int got, std::int64_t received, Clock::time_point began,
                   Clock::time_point now) noexcept;

private:
    int largest;
    int size;
    std::int64_t lastReported = 0;
    Clock::time_point lastReport;
};
