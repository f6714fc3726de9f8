#pragma once

#include <cstddef>
#include <list>
#include <unordered_map>
#include <utility>

namespace tessel
{

/** A least-recently-used map of fixed capacity. The most recently used entry is at the front
    of the list; when the cache is full, a new entry evicts the one at the back.

    Not thread-safe: even a hit reorders the list. */
template <typename Key, typename Value>
class LruCache final
{
public:
    explicit LruCache (std::size_t maximumEntries)
        : capacity (maximumEntries)
    {
        index.max_load_factor (1.0f);
    }

    /** On a hit, moves the entry to the front and returns its value; otherwise nullptr. The
        pointer stays valid until the entry is evicted or replaced. */
    const Value* find (const Key& key)
    {
        auto found = index.find (key);

        if (found == index.end())
            return nullptr;

        moveToFront (found->second);
        return &found->second->second;
    }

    /** Stores value under key at the front. A key already present gets the new value; a
        new key evicts the least recently used entry when the cache is full. */
    void insert (const Key& key, Value value)
    {
        auto found = index.find (key);

        if (found != index.end())
        {
            found->second->second = std::move (value);
            moveToFront (found->second);
            return;
        }

        if (entries.size() >= capacity && ! entries.empty())
        {
            index.erase (entries.back().first);
            entries.pop_back();
        }

        entries.emplace_front (key, std::move (value));
        index.emplace (key, entries.begin());
    }

    std::size_t size() const { return entries.size(); }

private:
    using Entries = std::list<std::pair<Key, Value>>;

    void moveToFront (typename Entries::iterator entry)
    {
        if (entry != entries.begin())
            entries.splice (entries.begin(), entries, entry);
    }

    const std::size_t capacity;
    Entries entries;
    std::unordered_map<Key, typename Entries::iterator> index;
};

} // namespace tessel
