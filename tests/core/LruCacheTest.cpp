#include "look/LruCache.h"

#include <gtest/gtest.h>

#include <string>

using tessel::LruCache;

TEST (LruCache, FindsReplacesInPlaceAndEvictsTheLeastRecentlyUsed)
{
    LruCache<std::string, int> cache (3);
    cache.insert ("a", 1);
    cache.insert ("", 2);
    cache.insert ("b", 3);

    EXPECT_EQ (cache.find ("a "), nullptr);
    EXPECT_EQ (cache.find ("c"), nullptr);

    // The full cache replaces the value of a present key without evicting, and moves it to
    // the front: "a" goes next, then "b".
    cache.insert ("", 22);
    EXPECT_EQ (cache.size(), 3u);
    EXPECT_EQ (cache.leastRecentlyUsedKey(), "a");
    cache.insert ("c", 4);
    EXPECT_EQ (cache.leastRecentlyUsedKey(), "b");

    EXPECT_EQ (cache.find ("a"), nullptr);
    for (auto [key, value] : { std::pair ("", 22), std::pair ("b", 3), std::pair ("c", 4) })
    {
        ASSERT_NE (cache.find (key), nullptr) << key;
        EXPECT_EQ (*cache.find (key), value) << key;
    }
}

TEST (LruCache, NeverHoldsMoreThanItsCapacity)
{
    for (std::size_t capacity : { 1u, 2u, 7u, 64u })
    {
        LruCache<int, int> cache (capacity);

        for (int i = 0; i < 500; ++i)
        {
            cache.insert (i % 97, i);
            ASSERT_LE (cache.size(), capacity);
        }

        EXPECT_EQ (cache.size(), capacity);
    }
}
