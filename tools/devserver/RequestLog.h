#pragma once

#include "JsonText.h"

#include <httplib.h>

#include <cstdio>
#include <map>
#include <mutex>
#include <string>

namespace devserver
{
/** Requests per path (query excluded) and, for /stats, the last request target of each exactly
    as it came on the request line (path and query, nothing decoded). */
class RequestLog final
{
public:
    int record (const httplib::Request& request)
    {
        std::lock_guard<std::mutex> lock (mutex);
        lastTargets[request.path] = request.target;
        return counts[request.path]++;
    }

    std::string toJson()
    {
        std::lock_guard<std::mutex> lock (mutex);
        std::string counted, targets;
        for (const auto& [path, count] : counts)
            counted +=
                (counted.empty() ? "" : ",") + jsonString (path) + ":" + std::to_string (count);
        for (const auto& [path, target] : lastTargets)
            targets += (targets.empty() ? "" : ",") + jsonString (path) + ":" + jsonString (target);
        return "{\"requests\":{" + counted + "},\"lastTarget\":{" + targets + "}}";
    }

    void print()
    {
        std::lock_guard<std::mutex> lock (mutex);
        if (printed)
            return;
        printed = true;
        for (const auto& [path, count] : counts)
            std::printf ("served %s %d\n", path.c_str(), count);
        std::printf ("stopped\n");
        std::fflush (stdout);
    }

private:
    std::mutex mutex;
    std::map<std::string, int> counts;
    std::map<std::string, std::string> lastTargets;
    bool printed = false;
};
} // namespace devserver
