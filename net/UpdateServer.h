#pragma once

#include <juce_core/juce_core.h>

/** Where the update server lives and how this build names its platform. */
class UpdateServer final
{
public:
    /** LARKSPIRE_UPDATE_SERVER when set and not empty, else the product's own server; no
        trailing "/". Read at each call, so a test can point a run at a local server. */
    static juce::String getBaseAddress();

    /** "linux-x86_64", "linux-arm64", "macos-x86_64" or "macos-arm64". */
    static const char* getPlatformId();

    /** The two endpoints, with the "product" and "platform" parameters. */
    static juce::URL getVersionInfoUrl();
    static juce::URL getDownloadLinksUrl();

private:
    UpdateServer() = delete;
};
