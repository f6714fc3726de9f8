#include "net/FetchCharacterUpdateInfo.h"

#include "net/RetryOnClientError.h"
#include "net/ServerFetch.h"
#include "net/UpdateServer.h"
#include "tasks/ThrowErrors.h"

namespace
{
const juce::var& require (juce::DynamicObject* object, const char* key, const char* missingMessage)
{
    if (object == nullptr || ! object->hasProperty (key))
        throwServerError (missingMessage);
    return object->getProperty (key);
}

std::string toUtf8 (const juce::var& value)
{
    return value.toString().toStdString();
}

std::shared_ptr<const LarkspireCharacterUpdateInfo> requestPair (const juce::URL& versionUrl,
                                                                 const juce::URL& linksUrl,
                                                                 const AsyncControlBlock& control)
{
    const auto versionBody = fetchServerResponse (control, versionUrl);
    const auto versionAnswer = juce::JSON::parse (
        juce::String::fromUTF8 (versionBody.data(), static_cast<int> (versionBody.size())));
    auto* version = versionAnswer.getDynamicObject();

    const int versionNumber =
        static_cast<int> (require (version, "latestVersionNumber", "missing latestVersionNumber"));
    const auto versionString =
        toUtf8 (require (version, "latestVersionString", "missing latestVersionString"));
    require (version, "minEditorVersion", "missing minEditorVersion");

    control.throwIfCancelled();

    const auto linksBody = fetchServerResponse (control, linksUrl);
    const auto linksAnswer = juce::JSON::parse (
        juce::String::fromUTF8 (linksBody.data(), static_cast<int> (linksBody.size())));
    auto* links = linksAnswer.getDynamicObject();

    const auto& linkList = require (links, "downloadLinks", "missing downloadLinks");
    const auto totalSize =
        static_cast<juce::int64> (require (links, "totalSize", "missing totalSize"));

    const auto* array = linkList.getArray();
    if (array == nullptr)
        throwServerError ("downloadLink is not an array");

    std::vector<std::string> texts;
    for (const auto& element : *array)
        texts.push_back (toUtf8 (element));

    if (texts.size() != 1)
        throwServerError ("multiple download links is not supported");

    auto info = std::make_shared<LarkspireCharacterUpdateInfo>();
    info->downloadLink = texts.front();
    info->latestVersionString = versionString;
    info->latestVersionNumber = versionNumber;
    info->totalSize = totalSize;
    return info;
}
} // namespace

std::shared_ptr<const LarkspireCharacterUpdateInfo>
    fetchCharacterUpdateInfo (const AsyncControlBlock& control, ProgressFunction progress)
{
    const auto versionUrl = UpdateServer::getVersionInfoUrl();
    const auto linksUrl = UpdateServer::getDownloadLinksUrl();

    return retryOnClientError (control, progress, {},
                               [&] { return requestPair (versionUrl, linksUrl, control); });
}
