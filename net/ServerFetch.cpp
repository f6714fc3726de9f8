#include "net/ServerFetch.h"

#include "net/OpenGetRequest.h"
#include "tasks/ThrowErrors.h"

#include <vector>

namespace
{
constexpr int bufferSize = 65536;
} // namespace

bool isWellFormedUtf8 (const unsigned char* bytes, std::size_t size) noexcept
{
    std::size_t i = 0;
    while (i < size)
    {
        const auto lead = bytes[i];
        std::size_t length = 0;
        std::uint32_t value = 0;

        if (lead <= 0x7f)
        {
            ++i;
            continue;
        }
        if (lead >= 0xc0 && lead <= 0xdf)
        {
            length = 2;
            value = lead & 0x1fu;
        }
        else if (lead >= 0xe0 && lead <= 0xef)
        {
            length = 3;
            value = lead & 0x0fu;
        }
        else if (lead >= 0xf0 && lead <= 0xf7)
        {
            length = 4;
            value = lead & 0x07u;
        }
        else
        {
            return false;
        }

        if (size - i < length)
            return false;

        for (std::size_t k = 1; k < length; ++k)
        {
            const auto next = bytes[i + k];
            if ((next & 0xc0u) != 0x80u)
                return false;
            value = (value << 6) | (next & 0x3fu);
        }

        static constexpr std::uint32_t smallestForLength[] = { 0, 0, 0x80, 0x800, 0x10000 };
        if (value < smallestForLength[length] || value > 0x10ffff ||
            (value >= 0xd800 && value <= 0xdfff))
            return false;

        i += length;
    }
    return true;
}

std::string fetchServerResponse (const AsyncControlBlock& control, const juce::URL& url)
{
    const auto stream = openGetRequest (url, control);

    std::vector<char> buffer (bufferSize, 0);
    int held = 0;

    for (;;)
    {
        // Before each use of the stream: a cancel releases its connection from another thread.
        control.throwIfCancelled();

        if (stream->isExhausted())
            break;

        if (held == bufferSize)
            throwServerError ("server retrurned invalid data (response body is too large)");

        const auto got = stream->read (buffer.data() + held, bufferSize - held);
        if (got > 0)
            held += got;
    }

    // A cancel cuts the stream short, which then reads as ended.
    control.throwIfCancelled();

    // A transfer that failed (a header too long, a dropped connection) also reads as ended: its
    // answer is cut short, and it failed as a connection does, to be retried.
    if (stream->isError())
        throwForHttpStatus (0);

    // The stream may report its end together with the read that filled the buffer, so a body
    // of exactly 65536 bytes can leave the loop without the test above; it is too large too.
    if (held == bufferSize)
        throwServerError ("server retrurned invalid data (response body is too large)");

    if (! isWellFormedUtf8 (reinterpret_cast<const unsigned char*> (buffer.data()),
                            static_cast<std::size_t> (held)))
        throwServerError ("server retrurned invalid data (invalid utf-8 codeunit)");

    return std::string (buffer.data(), static_cast<std::size_t> (held));
}
