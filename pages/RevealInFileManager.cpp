#include "pages/RevealInFileManager.h"

#if JUCE_MAC || JUCE_WINDOWS

void revealInFileManager (const juce::File& file)
{
    if (file != juce::File())
        file.revealToUser();
}

#else

    #include "tasks/BackgroundThreads.h"

    #include <fmt/format.h>

    #include <cerrno>
    #include <chrono>
    #include <cstdlib>
    #include <fcntl.h>
    #include <spawn.h>
    #include <string>
    #include <sys/wait.h>
    #include <thread>
    #include <unistd.h>
    #include <vector>

extern char** environ;

namespace
{
/** "file://" and the path's UTF-8 bytes, each byte but letters, digits, "-._~" and "/"
    percent-encoded: nothing in it can be read as syntax by dbus-send or a file manager. */
std::string fileUri (const juce::File& file)
{
    std::string uri = "file://";

    for (const unsigned char c : file.getFullPathName().toStdString())
    {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') ||
                           std::string ("-._~/").find ((char) c) != std::string::npos;
        uri += plain ? std::string (1, (char) c) : fmt::format ("%{:02X}", c);
    }

    return uri;
}

/** Runs the program named by arguments[0], looked up in PATH, with exactly these arguments and
    no shell, its output discarded; waits for it. True when it exited with status 0. Stops
    waiting (false) once shutdown waits for the background threads: the program runs on, and
    init reaps it after we are gone. */
bool runAndWait (std::vector<std::string> arguments)
{
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back (argument.data());
    argv.push_back (nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init (&actions);
    posix_spawn_file_actions_addopen (&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen (&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen (&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    pid_t pid = -1;
    const auto spawned = ::posix_spawnp (&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy (&actions);

    if (spawned != 0)
        return false;

    for (;;)
    {
        int status = 0;
        const auto ended = ::waitpid (pid, &status, WNOHANG);

        if (ended == pid)
            return WIFEXITED (status) && WEXITSTATUS (status) == 0;

        if ((ended < 0 && errno != EINTR) || BackgroundThreads::get().isWaitedFor())
            return false;

        std::this_thread::sleep_for (std::chrono::milliseconds (100));
    }
}

bool hasSessionBus()
{
    if (const auto* address = std::getenv ("DBUS_SESSION_BUS_ADDRESS"); address && *address)
        return true;

    const auto* runtime = std::getenv ("XDG_RUNTIME_DIR");
    return runtime != nullptr && *runtime != 0 &&
           juce::File (juce::String::fromUTF8 (runtime)).getChildFile ("bus").exists();
}
} // namespace

void revealInFileManager (const juce::File& file)
{
    if (file == juce::File())
        return;

    const auto exists = file.exists();
    const auto folder = exists && file.isDirectory() ? file : file.getParentDirectory();

    if (! folder.isDirectory())
        return;

    const std::string method = exists ? "ShowItems" : "ShowFolders";
    const auto uri = fileUri (exists ? file : folder);
    const auto folderPath = folder.getFullPathName().toStdString();

    // dbus-send waits for the file manager's answer, and xdg-open may wait for the program it
    // starts: neither may hold up the window, nor (see runAndWait) the quit.
    BackgroundThreads::get().start (
        [method, uri, folderPath]
        {
            const auto shown =
                hasSessionBus() &&
                runAndWait (
                    { "dbus-send", "--session", "--print-reply", "--reply-timeout=5000",
                      "--dest=org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                      "org.freedesktop.FileManager1." + method, "array:string:" + uri, "string:" });

            // Only the folder, as a local path: xdg-open hands it to the file manager.
            if (! shown && ! BackgroundThreads::get().isWaitedFor())
                runAndWait ({ "xdg-open", folderPath });
        });
}

#endif
