#include "net/DownloadInstaller.h"

#include "net/CopyPacer.h"
#include "net/InstallerFileName.h"
#include "net/OpenGetRequest.h"
#include "net/PartialDownloadFile.h"
#include "net/PathText.h"
#include "net/RetryOnClientError.h"
#include "net/ShownText.h"
#include "net/WebAddress.h"
#include "tasks/ThrowErrors.h"

#include <juce_core/juce_core.h>

#include <fmt/format.h>

#include <vector>

namespace
{
constexpr int readSize = 131072;
constexpr juce::int64 sizeLimit = 1073741824;
// A file name's limit on Linux and macOS file systems, in bytes.
constexpr int maxFileNameBytes = 255;

void throwCutShort (const char* what, juce::int64 received, juce::int64 announced)
{
    const auto expected = announced >= 0 ? std::to_string (announced) : std::string ("unknown");
    throwServerError (fmt::format ("{}: received {} bytes, expected {}", what, received, expected));
}

void downloadOnce (const juce::File& destination, const juce::URL& url, juce::int64 totalSize,
                   const AsyncControlBlock& control, const ProgressFunction& progress)
{
    // The length is the headers', as curl knows none for a chunked body: a body that ends
    // cleanly short of its announced length is no installer either. Some hosts label a .gz
    // installer as gzip-encoded, though curl decodes nothing: bytes of the update server's size
    // are the installer all the same.
    juce::int64 announced = -1;
    const auto stream = openGetRequest (url, control, announced, totalSize > 0);
    if (announced >= sizeLimit)
        throwServerError ("file is too large");

    const auto folder = destination.getParentDirectory();
    if (folder.createDirectory().failed())
        throwIOError (fmt::format ("failed to create directory `{}`", pathText (folder)));

    // The body goes to a partial file: an existing installer is replaced only by a whole one.
    PartialDownloadFile::removeAbandoned (destination);
    PartialDownloadFile partial (destination);
    const auto& temporary = partial.getFile();
    auto output = std::make_unique<juce::FileOutputStream> (temporary, 0);

    // A new, empty file: nothing to seek past or cut off. Messages name the installer: the
    // partial file is ours, and goes with the failure.
    if (output->getStatus().failed())
        throwIOError (fmt::format ("failed to open file `{}`, reason is: `{}`",
                                   pathText (destination),
                                   output->getStatus().getErrorMessage().toStdString()));

    std::vector<char> buffer (readSize, 0);
    const auto total = announced >= 0 ? static_cast<double> (announced) : -1.0;
    progress (0.0, total, {});

    juce::int64 received = 0;
    CopyPacer pacer (readSize);
    // A cancel cuts a read short, so a cancelled download stops at once, at any link speed, and
    // never writes beside a newer one. As the cancel releases the stream's connection from
    // another thread, the flag is tested before each use of the stream, from here on.
    while (! control.isCancelled() && ! stream->isExhausted())
    {
        // Reads as small as the link is slow, so the figures follow the bytes.
        const auto began = CopyPacer::Clock::now();
        const auto got = juce::jmax (0, stream->read (buffer.data(), pacer.readSize()));
        control.throwIfCancelled();
        const auto ended = stream->isExhausted();

        if (! output->write (buffer.data(), static_cast<size_t> (got)))
            throwIOError (fmt::format ("failed to write to file `{}`", pathText (destination)));

        received += got;

        // The last bytes are reported however soon they follow the ones before.
        if (pacer.readDone (got, received, began, CopyPacer::Clock::now()) || ended)
            progress (static_cast<double> (received), total, {});

        if (received >= sizeLimit)
            throwServerError ("file is too large");
    }

    // A cancel cuts the stream short, which then reads as ended.
    control.throwIfCancelled();

    if (stream->isError())
        throwCutShort ("download broken off", received, announced);
    requireBodySize ("download", received, announced);
    // The size from the links answer tells a body cut short without a length, and one that is
    // not the installer (encoded, another file), shorter or longer.
    if (totalSize > 0)
        requireBodySize ("download", received, totalSize);
    // Whatever was announced: an empty body is never an installer.
    if (received == 0)
        throwServerError ("download is empty");

    // flush() syncs the file to disk, so a late write error is still caught here.
    output->flush();
    if (output->getStatus().failed())
        throwIOError (fmt::format ("failed to write to file `{}`", pathText (destination)));
    output.reset();

    partial.replace (destination);
}
} // namespace

std::monostate downloadInstaller (const std::string& destinationPath,
                                  const std::string& downloadLink, std::int64_t totalSize,
                                  const AsyncControlBlock& control, ProgressFunction progress)
{
    const juce::File destination (juce::String::fromUTF8 (destinationPath.c_str()));
    const auto link = juce::String::fromUTF8 (downloadLink.c_str());
    // Requested exactly as given: parsing would rewrite the query, and a signed link must
    // arrive byte for byte.
    const auto url = juce::URL::createWithoutParsing (link);

    requireWebScheme (link);

    // A name from the server must not lead outside the download folder, before anything exists.
    const auto name = installerFileNameFromLink (link);
    if (! isSafeInstallerFileName (name))
        throwServerError (fmt::format ("unsafe installer file name `{}`", shownText (name)));
    // Else the whole body would arrive before the file system refuses the name.
    if (name.getNumBytesAsUTF8() > maxFileNameBytes)
        throwServerError (fmt::format ("installer file name `{}` is longer than {} bytes",
                                       shownText (name), maxFileNameBytes));
    if (name != destination.getFileName())
        throwServerError (fmt::format ("installer file name `{}` does not match `{}`",
                                       shownText (name), pathText (destination)));
    if (destination.isDirectory())
        throwIOError (fmt::format ("cannot save the installer as `{}`: a folder of that name is "
                                   "in the way",
                                   pathText (destination)));

    retryOnClientError (control, progress, "retry",
                        [&] { downloadOnce (destination, url, totalSize, control, progress); });
    return {};
}
