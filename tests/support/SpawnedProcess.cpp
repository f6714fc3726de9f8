#include "support/SpawnedProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace testing_support
{
SpawnedProcess::SpawnedProcess (const std::vector<std::string>& arguments,
                                const std::vector<std::string>& environment,
                                const std::string& outputFile, int inheritedFd)
{
    // env sets the variables and execs the program in place, so signals reach the program. All
    // the child needs is built before fork: only async-signal-safe calls after it.
    std::vector<char*> argv { const_cast<char*> ("env") };
    for (const auto* list : { &environment, &arguments })
        for (const auto& argument : *list)
            argv.push_back (const_cast<char*> (argument.c_str()));
    argv.push_back (nullptr);

    const auto output = ::open (outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const auto input = ::open ("/dev/null", O_RDONLY | O_CLOEXEC);

    if (output < 0 || input < 0 || (pid = ::fork()) < 0)
        throw std::runtime_error ("cannot start " + arguments.front());

    if (pid == 0)
    {
        ::dup2 (output, STDOUT_FILENO);
        ::dup2 (output, STDERR_FILENO);
        ::dup2 (input, STDIN_FILENO);
        if (inheritedFd >= 0)
            ::fcntl (inheritedFd, F_SETFD, 0);
        ::execvp (argv[0], argv.data());
        ::_exit (127);
    }

    ::close (output);
    ::close (input);
}

SpawnedProcess::~SpawnedProcess()
{
    if (pid > 0 && ! exited)
    {
        ::kill (pid, SIGKILL);
        ::waitpid (pid, &status, 0);
    }
}

bool SpawnedProcess::waitForExit (int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds (timeoutMs);

    while (! exited)
    {
        const auto result = ::waitpid (pid, &status, WNOHANG);
        exited = result == pid || (result < 0 && errno != EINTR);

        if (exited || std::chrono::steady_clock::now() >= deadline)
            break;

        std::this_thread::sleep_for (std::chrono::milliseconds (10));
    }

    return exited;
}

int SpawnedProcess::getExitStatus() const
{
    return exited && WIFEXITED (status) ? WEXITSTATUS (status) : -1;
}

void SpawnedProcess::sendSignal (int signalNumber) const
{
    if (pid > 0 && ! exited)
        ::kill (pid, signalNumber);
}
} // namespace testing_support
