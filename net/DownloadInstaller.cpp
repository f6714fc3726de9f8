#include "net/DownloadInstaller.h"

#include "net/InstallerFileName.h"
#include "net/OpenGetRequest.h"
#include "net/RetryOnClientError.h"
#include "tasks/ThrowErrors.h"

#include <juce_core/juce_core.h>

#include <fmt/format.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace
{
constexpr int readSize = 131072;
constexpr juce::int64 sizeLimit = 1073741824;

std::string pathText (const juce::File& file)
{
    return file.getFullPathName().toStdString();
}

/** A name from the server, made printable for a message. */
std::string printable (const juce::String& name)
{
    juce::String shown;
    for (auto t = name.getCharPointer(); ! t.isEmpty(); ++t)
        shown << ((*t < 0x20 || *t == 0x7f) ? juce::juce_wchar ('?') : *t);
    return shown.toStdString();
}

/** A hidden sibling of the destination with a random part, so two runs never share one. */
juce::File makeTemporarySibling (const juce::File& destination)
{
    // At most 48 characters of the name, so the temporary name stays within the file system's
    // 255-byte limit whatever the installer's own name.
    const auto stem = destination.getFileName().substring (0, 48);

    std::random_device randomSource;
    for (;;)
    {
        const auto random = (static_cast<juce::uint64> (randomSource()) << 32) ^ randomSource();
        const auto candidate = destination.getSiblingFile (
            "." + stem + "." + juce::String::toHexString ((juce::int64) random) + ".part");
        if (! candidate.exists())
            return candidate;
    }
}

/** Removes the temporary file on every way out except a completed download. */
struct TemporaryFileRemover final
{
    juce::File file;
    bool keep = false;

    ~TemporaryFileRemover()
    {
        if (! keep)
            file.deleteFile();
    }
};

void throwCutShort (const char* what, juce::int64 received, juce::int64 announced)
{
    const auto expected = announced >= 0 ? std::to_string (announced) : std::string ("unknown");
    throwServerError (fmt::format ("{}: received {} bytes, expected {}", what, received, expected));
}

void downloadOnce (const juce::File& destination, const juce::URL& url,
                   const AsyncControlBlock& control, const ProgressFunction& progress)
{
    const auto stream = openGetRequest (url, control);

    const auto announced = stream->getTotalLength();
    if (announced >= sizeLimit)
        throwServerError ("file is too large");

    const auto folder = destination.getParentDirectory();
    if (folder.createDirectory().failed())
        throwIOError (fmt::format ("failed to create directory `{}`", pathText (folder)));

    // The body goes to a temporary file: an existing installer is replaced only by a whole one.
    TemporaryFileRemover temporary { makeTemporarySibling (destination) };
    auto output = std::make_unique<juce::FileOutputStream> (temporary.file, 0);

    if (output->getStatus().failed())
        throwIOError (fmt::format ("failed to open file `{}`, reason is: `{}`",
                                   pathText (temporary.file),
                                   output->getStatus().getErrorMessage().toStdString()));
    if (! output->setPosition (0))
        throwIOError (fmt::format ("failed to seeek file `{}`", pathText (temporary.file)));
    if (output->truncate().failed())
        throwIOError (fmt::format ("failed to truncate file `{}`", pathText (temporary.file)));

    std::vector<char> buffer (readSize, 0);
    const auto total = announced >= 0 ? static_cast<double> (announced) : -1.0;
    progress (0.0, total, {});

    juce::int64 received = 0;
    while (! stream->isExhausted())
    {
        // Checked before every read, so a cancelled download stops within one read and never
        // writes alongside a newer download of the same installer.
        control.throwIfCancelled();

        const auto got = juce::jmax (0, stream->read (buffer.data(), readSize));
        if (! output->write (buffer.data(), static_cast<size_t> (got)))
            throwIOError (fmt::format ("failed to write to file `{}`", pathText (temporary.file)));

        received += got;
        progress (static_cast<double> (received), total, {});

        if (received >= sizeLimit)
            throwServerError ("file is too large");
    }

    if (stream->isError())
        throwCutShort ("download broken off", received, announced);
    if (announced >= 0 && received != announced)
        throwCutShort ("download size mismatch", received, announced);

    // flush() syncs the file to disk, so a late write error is still caught here.
    output->flush();
    if (output->getStatus().failed())
        throwIOError (fmt::format ("failed to write to file `{}`", pathText (temporary.file)));
    output.reset();

    if (std::rename (temporary.file.getFullPathName().toRawUTF8(),
                     destination.getFullPathName().toRawUTF8()) != 0)
        throwIOError (fmt::format ("failed to replace file `{}`, reason is: `{}`",
                                   pathText (destination), std::strerror (errno)));
    temporary.keep = true;
}
} // namespace

std::monostate downloadInstaller (const std::string& destinationPath,
                                  const std::string& downloadLink, const AsyncControlBlock& control,
                                  ProgressFunction progress)
{
    const juce::File destination (juce::String::fromUTF8 (destinationPath.c_str()));
    const auto link = juce::String::fromUTF8 (downloadLink.c_str());
    const juce::URL url (link);

    // A name from the server must not lead outside the download folder, before anything exists.
    const auto name = installerFileNameFromLink (link);
    if (! isSafeInstallerFileName (name))
        throwServerError (fmt::format ("unsafe installer file name `{}`", printable (name)));
    if (name != destination.getFileName())
        throwServerError (fmt::format ("installer file name `{}` does not match `{}`",
                                       printable (name), pathText (destination)));

    retryOnClientError (control, progress, "retry",
                        [&] { downloadOnce (destination, url, control, progress); });
    return {};
}
