#include "net/PartialDownloadFile.h"

#include "net/PathText.h"
#include "tasks/ThrowErrors.h"

#include <fmt/format.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
/** ".<at most 48 characters of the name>.": the name stays within the 255-byte limit of a
    file name whatever the installer's own name. */
juce::String prefixFor (const juce::File& destination)
{
    return "." + destination.getFileName().substring (0, 48) + ".";
}

bool isPartialFileName (const juce::String& name, const juce::String& prefix)
{
    if (! name.startsWith (prefix) || ! name.endsWith (".part"))
        return false;

    const auto random = name.substring (prefix.length(), name.length() - 5);
    return random.isNotEmpty() && random.length() <= 16 && random.containsOnly ("0123456789abcdef");
}

/** Whether the descriptor is the regular file that the name leads to now. */
bool isSameFile (int descriptor, const juce::File& file)
{
    struct stat opened;
    struct stat named;
    return ::fstat (descriptor, &opened) == 0 && S_ISREG (opened.st_mode) &&
           ::lstat (file.getFullPathName().toRawUTF8(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

int lockExclusively (int descriptor, int options)
{
    int result;
    while ((result = ::flock (descriptor, LOCK_EX | options)) != 0 && errno == EINTR)
    {
    }
    return result;
}
} // namespace

PartialDownloadFile::PartialDownloadFile (const juce::File& destination)
{
    std::random_device randomSource;

    for (;;)
    {
        const auto random = (static_cast<juce::uint64> (randomSource()) << 32) ^ randomSource();
        file = destination.getSiblingFile (
            prefixFor (destination) + juce::String::toHexString ((juce::int64) random) + ".part");

        lockDescriptor = ::open (file.getFullPathName().toRawUTF8(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (lockDescriptor < 0 && errno == EEXIST)
            continue;

        if (lockDescriptor < 0)
            throwIOError (fmt::format ("failed to open file `{}`, reason is: `{}`",
                                       pathText (destination), std::strerror (errno)));

        // Until the lock is taken, another download may take the new file for an abandoned one
        // and remove it; then the name no longer leads to this file, and another is made. Where
        // the file system has no locks the file goes unlocked: the download matters more.
        if (lockExclusively (lockDescriptor, 0) != 0 || isSameFile (lockDescriptor, file))
            return;

        ::close (lockDescriptor);
        lockDescriptor = -1;
    }
}

PartialDownloadFile::~PartialDownloadFile()
{
    if (! replaced)
        file.deleteFile();

    ::close (lockDescriptor);
}

void PartialDownloadFile::replace (const juce::File& destination)
{
    if (std::rename (file.getFullPathName().toRawUTF8(),
                     destination.getFullPathName().toRawUTF8()) != 0)
        throwIOError (fmt::format ("failed to replace file `{}`, reason is: `{}`",
                                   pathText (destination), std::strerror (errno)));
    replaced = true;
}

void PartialDownloadFile::removeAbandoned (const juce::File& destination)
{
    const auto prefix = prefixFor (destination);

    for (const auto& entry :
         juce::RangedDirectoryIterator (destination.getParentDirectory(), false, "*",
                                        juce::File::findFiles, juce::File::FollowSymlinks::no))
    {
        const auto candidate = entry.getFile();
        if (! isPartialFileName (candidate.getFileName(), prefix))
            continue;

        // Opened for writing, as network file systems lock only such descriptors; never waiting,
        // should the name belong to a pipe.
        const auto descriptor = ::open (candidate.getFullPathName().toRawUTF8(),
                                        O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
        if (descriptor < 0)
            continue;

        // A live download holds the lock; a dead one's file is free and goes.
        if (lockExclusively (descriptor, LOCK_NB) == 0 && isSameFile (descriptor, candidate))
            candidate.deleteFile();

        ::close (descriptor);
    }
}
