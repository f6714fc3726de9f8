#include "net/FetchCharacterUpdateInfo.h"

#include "net/AnswerNumbers.h"
#include "net/RetryOnClientError.h"
#include "net/ServerFetch.h"
#include "net/SurrogatePairs.h"
#include "net/UpdateServer.h"
#include "tasks/ThrowErrors.h"

#include <algorithm>

namespace
{
/** Far deeper than any real answer, and shallow enough for any thread's stack: juce::JSON::parse
    recurses once per level. */
constexpr int maxAnswerNesting = 256;

/** Whether arrays and objects nest deeper than maxAnswerNesting. Only brackets outside strings
    count, with strings as juce::JSON reads them: in double or single quotes, with backslash
    escapes. */
bool nestsTooDeeply (const std::string& body)
{
    int depth = 0;
    char quote = 0;
    for (std::size_t i = 0; i < body.size(); ++i)
    {
        const auto c = body[i];
        if (quote != 0)
        {
            if (c == '\\')
                ++i;
            else if (c == quote)
                quote = 0;
        }
        else if (c == '"' || c == '\'')
        {
            quote = c;
        }
        else if ((c == '[' || c == '{') && ++depth > maxAnswerNesting)
        {
            return true;
        }
        else if (c == ']' || c == '}')
        {
            depth = std::max (0, depth - 1);
        }
    }
    return false;
}

/** The answer as JSON; void, as for text that is not JSON, when nested too deeply to parse or
    holding a "-" before something other than a number. Numbers too large for the parser count
    as 0. */
juce::var parseAnswer (const std::string& body)
{
    if (nestsTooDeeply (body))
        return {};
    const auto safe = withUnrepresentableNumbersAsZero (body);
    if (! safe)
        return {};
    return juce::JSON::parse (
        juce::String::fromUTF8 (safe->data(), static_cast<int> (safe->size())));
}

const juce::var& require (juce::DynamicObject* object, const char* key, const char* missingMessage)
{
    if (object == nullptr || ! object->hasProperty (key))
        throwServerError (missingMessage);
    return object->getProperty (key);
}

/** A text from the answer in UTF-8, with characters sent as pairs of escapes made whole. */
std::string toUtf8 (const juce::var& value)
{
    return withSurrogatePairsJoined (value.toString().toStdString());
}

std::shared_ptr<const LarkspireCharacterUpdateInfo> requestPair (const juce::URL& versionUrl,
                                                                 const juce::URL& linksUrl,
                                                                 const AsyncControlBlock& control)
{
    const auto versionBody = fetchServerResponse (control, versionUrl);
    const auto versionAnswer = parseAnswer (versionBody);
    auto* version = versionAnswer.getDynamicObject();

    const int versionNumber =
        versionNumberOf (require (version, "latestVersionNumber", "missing latestVersionNumber"));
    const auto versionString =
        toUtf8 (require (version, "latestVersionString", "missing latestVersionString"));
    require (version, "minEditorVersion", "missing minEditorVersion");

    control.throwIfCancelled();

    const auto linksBody = fetchServerResponse (control, linksUrl);
    const auto linksAnswer = parseAnswer (linksBody);
    auto* links = linksAnswer.getDynamicObject();

    const auto& linkList = require (links, "downloadLinks", "missing downloadLinks");
    const auto totalSize = byteCountOf (require (links, "totalSize", "missing totalSize"));

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
