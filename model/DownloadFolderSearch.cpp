#include "model/DownloadFolderSearch.h"

#include "tasks/IOError.h"
#include "tasks/ThrowErrors.h"

#include <fmt/format.h>

#if JUCE_LINUX
    #include <cstdlib>
    #include <sys/stat.h>
    #include <unistd.h>
#endif

namespace
{
#if JUCE_LINUX
/** Every account may write $TMPDIR (or /tmp), so another one could make our folder there first.
    The fallback goes into "larkspire-<uid>" in it instead, a folder for this user alone. */
juce::File temporaryFolder()
{
    const auto* shared = std::getenv ("TMPDIR");
    const juce::File base (shared != nullptr && shared[0] == '/' ? juce::String::fromUTF8 (shared)
                                                                 : juce::String ("/tmp"));
    return base.getChildFile ("larkspire-" + juce::String (::geteuid()));
}

/** Makes folder for this user alone when absent, and throws IOError unless it then is a real
    directory (no link) of this user that no one else may write. One that is not is left as it
    is. Made first and looked at after, so nothing can come in between a look and the making.
    In a folder that others may write without the sticky bit, they could rename ours away and
    put their own in its place after the look: such a place is refused before anything is made. */
void ensureOwnFolder (const juce::File& folder)
{
    const auto path = folder.getFullPathName().toStdString();

    struct stat parent;
    if (::stat (folder.getParentDirectory().getFullPathName().toRawUTF8(), &parent) != 0 ||
        ((parent.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (parent.st_mode & S_ISVTX) == 0))
        throwIOError (fmt::format ("directory `{}` is not the user's own", path));

    ::mkdir (path.c_str(), 0700);

    struct stat info;
    if (::lstat (path.c_str(), &info) != 0 || ! S_ISDIR (info.st_mode) ||
        info.st_uid != ::geteuid() || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        throwIOError (fmt::format ("directory `{}` is not the user's own", path));
}
#else
// There the temporary folder is the user's own.
juce::File temporaryFolder()
{
    return juce::File::getSpecialLocation (juce::File::tempDirectory);
}
#endif
} // namespace

void ensureUsableDownloadFolder (const juce::File& folder)
{
#if JUCE_LINUX
    const auto temporary = temporaryFolder();
    if (folder == temporary || folder.isAChildOf (temporary))
    {
        ensureOwnFolder (temporary);
        ensureOwnFolder (folder);
    }
#endif

    if (! folder.exists())
        folder.createDirectory(); // what counts is the tests below

    const auto path = folder.getFullPathName().toStdString();

    if (! folder.isDirectory())
        throwIOError (fmt::format ("file `{}` is not a dir", path));

    if (! folder.hasWriteAccess())
        throwIOError (fmt::format ("directory `{}` has no write permission", path));
}

juce::Array<juce::File> defaultDownloadFolderCandidates()
{
    const auto documents = juce::File::getSpecialLocation (juce::File::userDocumentsDirectory);
    const auto home = juce::File::getSpecialLocation (juce::File::userHomeDirectory);
    const auto temp = temporaryFolder();

    return { documents.getChildFile ("Larkspire Downloads"), documents, home,
             temp.getChildFile ("LarkspireInstaller"), temp };
}

juce::String findDefaultDownloadFolder()
{
    for (const auto& candidate : defaultDownloadFolderCandidates())
    {
        try
        {
            ensureUsableDownloadFolder (candidate);
            return candidate.getFullPathName();
        }
        catch (const IOError&)
        {
            // Not usable: try the next one. The reason is never shown.
        }
    }

    return {};
}
