#pragma once

#include "JsonText.h"

#include <httplib.h>

#include <cstdio>
#include <map>
#include <mutex>
#include <string>

namespace devserver
{
/** Requests per path (query excluded) and the last query of each, for /stats and the exit. */
class RequestLog final
{
public:
    int record (const httplib::Request& request)
    {
        std::string query;
        for (const auto& [key, value] : request.params)
            query += (query.empty() ? "" : "&") + key + "=" + value;

        std::lock_guard<std::mutex> lock (mutex);
        lastQueries[request.path] = query;
        return counts[request.path]++;
    }

    std::string toJson()
    {
        std::lock_guard<std::mutex> lock (mutex);
        std::string counted, queries;
        for (const auto& [path, count] : counts)
            counted +=
                (counted.empty() ? "" : ",") + jsonString (path) + ":" + std::to_string (count);
        for (const auto& [path, query] : lastQueries)
            queries += (queries.empty() ? "" : ",") + jsonString (path) + ":" + jsonString (query);
        return "{\"requests\":{" + counted + "},\"lastQuery\":{" + queries + "}}";
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
    std::map<std::string, std::string> lastQueries;
    bool printed = false;
};
} // namespace devserver
