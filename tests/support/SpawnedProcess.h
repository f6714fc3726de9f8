#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace testing_support
{
/** A child process started with fork and exec, with extra environment variables and its
    output sent to a file. Unlike juce::ChildProcess it can be signalled and tells an exit from
    an end by a signal. The destructor kills it (SIGKILL) if it still runs and reaps it. */
class SpawnedProcess final
{
public:
    /** arguments[0] is looked up in PATH. Each of environment is "NAME=value" and replaces that
        variable; arguments must not start with one. inheritedFd, when not -1, stays open. */
    SpawnedProcess (const std::vector<std::string>& arguments,
                    const std::vector<std::string>& environment, const std::string& outputFile,
                    int inheritedFd = -1);
    ~SpawnedProcess();

    /** Waits up to timeoutMs for the end; true when it has ended. */
    bool waitForExit (int timeoutMs);

    /** The exit status, or -1 while it runs or when a signal ended it. */
    int getExitStatus() const;
    void sendSignal (int signalNumber) const;

    SpawnedProcess (const SpawnedProcess&) = delete;
    SpawnedProcess& operator= (const SpawnedProcess&) = delete;

private:
    pid_t pid = -1;
    bool exited = false;
    int status = 0;
};
} // namespace testing_support
