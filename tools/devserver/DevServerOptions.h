#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace devserver
{
/** How one endpoint (version, links or file) answers. The defaults answer correctly. */
struct EndpointBehaviour final
{
    int status = 200;
    int failTimes = -1;              // status applies to the first N requests only (-1: all)
    std::optional<std::string> body; // replaces the generated body
    std::int64_t bodySize = -1;      // pads the JSON answer to this many bytes
    bool noLength = false;           // no Content-Length, body ends when the connection closes
    bool chunked = false;            // chunked transfer encoding
    std::int64_t cutAt = -1;         // close after N bytes (full length announced if any)
    std::int64_t stallAfter = -1;    // send N bytes, then hold the connection open
    double rate = 0.0;               // bytes per second, 0 = unlimited
    std::int64_t writeSize = 0;      // bytes per write (0: 64 KiB, at a rate 1/20 s of it)
    bool hang = false;               // read the request, never answer
    int redirects = 0;               // answer through a chain of N redirects
};

struct Options final
{
    int port = 0;
    std::string versionString = "2.3.1";
    std::int64_t versionNumber = 20301;
    std::int64_t minEditorVersion = 10000;
    std::optional<std::string> filePath;
    std::int64_t fileSize = 1024 * 1024;
    std::uint64_t seed = 1;
    std::optional<std::string> fileName;
    std::optional<std::string> link;
    int linksCount = 1;
    std::optional<std::int64_t> totalSize;
    std::set<std::string> omittedKeys;
    std::map<std::string, EndpointBehaviour> endpoints { { "version", {} },
                                                         { "links", {} },
                                                         { "file", {} } };
};

/** Parses the command line; on a bad option prints why and returns nothing. Sets wantsHelp
    for --help. */
std::optional<Options> parseOptions (int argc, char** argv, bool& wantsHelp);

void printHelp();

/** "48M" -> 50331648; plain numbers are bytes; K, M, G are binary multiples. */
std::optional<std::int64_t> parseSize (const std::string& text);
} // namespace devserver
