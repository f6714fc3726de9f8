#include "support/SpawnedProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace testing_support
{
SpawnedProcess::SpawnedProcess (const std::vector<std::string>& arguments,
                                const std::vector<std::string>& environment,
                                const std::string& outputFile, int inheritedFd)
{
    // Everything the child needs is built before fork: only async-signal-safe calls after it.
    std::vector<std::string> variables;

    for (auto** entry = environ; *entry != nullptr; ++entry)
    {
        const std::string existing (*entry);
        const auto name = existing.substr (0, existing.find ('='));
        bool replaced = false;

        for (const auto& change : environment)
            replaced = replaced || change.substr (0, change.find ('=')) == name;

        if (! replaced)
            variables.push_back (existing);
    }

    for (const auto& change : environment)
        if (change.find ('=') != std::string::npos)
            variables.push_back (change);

    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back (const_cast<char*> (argument.c_str()));
    argv.push_back (nullptr);

    std::vector<char*> envp;
    for (const auto& variable : variables)
        envp.push_back (const_cast<char*> (variable.c_str()));
    envp.push_back (nullptr);

    const auto output = ::open (outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);

    if (output < 0)
        throw std::runtime_error ("cannot open " + outputFile);

    pid = ::fork();

    if (pid == 0)
    {
        ::dup2 (output, STDOUT_FILENO);
        ::dup2 (output, STDERR_FILENO);
        const auto devNull = ::open ("/dev/null", O_RDONLY);
        ::dup2 (devNull, STDIN_FILENO);

        if (inheritedFd >= 0)
            ::fcntl (inheritedFd, F_SETFD, 0);

        ::execvpe (argv[0], argv.data(), envp.data());
        ::_exit (127);
    }

    ::close (output);

    if (pid < 0)
        throw std::runtime_error ("fork failed");
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
    for (int waited = 0; ! exited; waited += 10)
    {
        const auto result = ::waitpid (pid, &status, WNOHANG);

        if (result == pid || (result < 0 && errno != EINTR))
        {
            exited = true;
            break;
        }

        if (waited >= timeoutMs)
            break;

        std::this_thread::sleep_for (std::chrono::milliseconds (10));
    }

    return exited;
}

bool SpawnedProcess::exitedNormally() const
{
    return exited && WIFEXITED (status);
}

int SpawnedProcess::getExitStatus() const
{
    return WIFEXITED (status) ? WEXITSTATUS (status) : -1;
}

void SpawnedProcess::sendSignal (int signalNumber) const
{
    if (pid > 0 && ! exited)
        ::kill (pid, signalNumber);
}
} // namespace testing_support
