#include "look/LruCache.h"

#include <gtest/gtest.h>

#include <string>

using tessel::LruCache;

TEST (LruCache, FindsWhatWasInsertedAndAPresentKeyIsReplacedWithoutEvicting)
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

TEST (LruCache, EvictionFollowsUseOrder)
{
    LruCache<int, int> cache (100);

    for (int i = 0; i < 100; ++i)
        cache.insert (i, i);

    // Touch the even keys, oldest first: the odd keys are now the least recently used.
    for (int i = 0; i < 100; i += 2)
        ASSERT_NE (cache.find (i), nullptr);

    for (int i = 100; i < 150; ++i)
        cache.insert (i, i);

    for (int i = 0; i < 100; ++i)
        EXPECT_EQ (cache.contains (i), i % 2 == 0) << i;

    EXPECT_EQ (cache.leastRecentlyUsedKey(), 0);
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
