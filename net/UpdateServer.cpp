#include "net/UpdateServer.h"

#include <cstdlib>

namespace
{
constexpr const char* defaultAddress = "https://update.larkspire.example";

juce::URL withQuery (const juce::String& path)
{
    return juce::URL (UpdateServer::getBaseAddress() + path)
        .withParameter ("product", "LarkspireEditor")
        .withParameter ("platform", UpdateServer::getPlatformId());
}
} // namespace

juce::String UpdateServer::getBaseAddress()
{
    const auto* fromEnvironment = std::getenv ("LARKSPIRE_UPDATE_SERVER");
    juce::String address = (fromEnvironment != nullptr && *fromEnvironment != 0)
                               ? juce::String::fromUTF8 (fromEnvironment)
                               : juce::String (defaultAddress);
    while (address.endsWithChar ('/'))
        address = address.dropLastCharacters (1);
    return address;
}

const char* UpdateServer::getPlatformId()
{
#if JUCE_MAC
    #if JUCE_ARM
    return "macos-arm64";
    #else
    return "macos-x86_64";
    #endif
#else
    #if JUCE_ARM
    return "linux-arm64";
    #else
    return "linux-x86_64";
    #endif
#endif
}

juce::URL UpdateServer::getVersionInfoUrl()
{
    return withQuery ("/api/v1/version-info");
}

juce::URL UpdateServer::getDownloadLinksUrl()
{
    return withQuery ("/api/v1/download-links");
}
