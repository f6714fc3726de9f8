#include "SnapshotServer.h"

#include <stdexcept>

SnapshotServer::SnapshotServer (const juce::StringArray& options)
{
    juce::StringArray command { LARKSPIRE_DEVSERVER_PATH };
    command.addArray (options);

    if (! process.start (command, juce::ChildProcess::wantStdOut))
        throw std::runtime_error ("cannot start " LARKSPIRE_DEVSERVER_PATH);

    // The first line is "listening on http://127.0.0.1:PORT".
    juce::String line;
    char character = 0;

    while (process.readProcessOutput (&character, 1) == 1 && character != '\n')
        line << character;

    baseUrl = line.fromFirstOccurrenceOf ("listening on ", false, false).trim();

    if (! baseUrl.startsWith ("http://127.0.0.1:"))
        throw std::runtime_error ("devserver did not report its address: " + line.toStdString());
}

SnapshotServer::~SnapshotServer()
{
    process.kill();
}
