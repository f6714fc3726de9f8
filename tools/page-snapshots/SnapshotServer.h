#pragma once

#include <juce_core/juce_core.h>

/** A larkspire-devserver child process for the snapshot tool, on an ephemeral 127.0.0.1 port. */
class SnapshotServer final
{
public:
    /** Starts the server with the given options; throws std::runtime_error when it does not
        report its address. */
    explicit SnapshotServer (const juce::StringArray& options);
    ~SnapshotServer();

    /** "http://127.0.0.1:PORT", the value for LARKSPIRE_UPDATE_SERVER. */
    const juce::String& getBaseUrl() const noexcept { return baseUrl; }

private:
    juce::ChildProcess process;
    juce::String baseUrl;

    JUCE_DECLARE_NON_COPYABLE (SnapshotServer)
};
