#include "net/ServerFetch.h"

#include "net/OpenGetRequest.h"
#include "net/Utf8Character.h"
#include "tasks/ThrowErrors.h"

#include <vector>

namespace
{
constexpr int bufferSize = 65536;
const char* const tooLarge = "server retrurned invalid data (response body is too large)";
} // namespace

std::string fetchServerResponse (const AsyncControlBlock& control, const juce::URL& url)
{
    juce::int64 announced = -1;
    const auto stream = openGetRequest (url, control, announced);
    if (announced >= bufferSize)
        throwServerError (tooLarge);

    std::vector<char> buffer (bufferSize, 0);
    int held = 0;

    for (;;)
    {
        // Before each use of the stream: a cancel releases its connection from another thread.
        control.throwIfCancelled();

        if (stream->isExhausted())
            break;

        if (held == bufferSize)
            throwServerError (tooLarge);

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
        throwServerError (tooLarge);

    // A body that ended cleanly, chunked, short of or past its announced length.
    requireBodySize ("response", held, announced);

    if (! isWellFormedUtf8 (reinterpret_cast<const unsigned char*> (buffer.data()),
                            static_cast<std::size_t> (held)))
        throwServerError ("server retrurned invalid data (invalid utf-8 codeunit)");

    return std::string (buffer.data(), static_cast<std::size_t> (held));
}
