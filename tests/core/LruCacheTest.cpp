#include "look/LruCache.h"

#include <gtest/gtest.h>

#include <string>

using tessel::LruCache;

TEST (LruCache, FindsWhatWasInsertedAndNothingElse)
{
    LruCache<std::string, int> cache (4);
    cache.insert ("a", 1);
    cache.insert ("", 2);

    ASSERT_NE (cache.find ("a"), nullptr);
    EXPECT_EQ (*cache.find ("a"), 1);
    ASSERT_NE (cache.find (""), nullptr);
    EXPECT_EQ (*cache.find (""), 2);
    EXPECT_EQ (cache.find ("b"), nullptr);
    EXPECT_EQ (cache.find ("a "), nullptr);
    EXPECT_EQ (cache.size(), 2u);
}

TEST (LruCache, EvictionFollowsUseOrder)
{
    LruCache<int, int> cache (100);

    for (int i = 0; i < 100; ++i)
        cache.insert (i, i);

    // Touch the even keys, oldest first: the odd keys are now the least recently used.
    for (int i = 0; i < 100; i += 2)
        ASSERT_NE (cache.find (i), nullptr);

    EXPECT_EQ (cache.leastRecentlyUsedKey(), 1);

    for (int i = 100; i < 150; ++i)
        cache.insert (i, i);

    for (int i = 0; i < 100; ++i)
        EXPECT_EQ (cache.contains (i), i % 2 == 0) << i;

    EXPECT_EQ (cache.leastRecentlyUsedKey(), 0);
}

TEST (LruCache, InsertingAPresentKeyReplacesItsValueWithoutEvicting)
{
    LruCache<int, int> cache (2);
    cache.insert (1, 10);
    cache.insert (2, 20);

    cache.insert (1, 11);

    EXPECT_EQ (cache.size(), 2u);
    EXPECT_EQ (*cache.find (1), 11);
    EXPECT_TRUE (cache.contains (2));
    // The replaced entry moved to the front; 2 is next to go.
    cache.insert (3, 30);
    EXPECT_FALSE (cache.contains (2));
    EXPECT_TRUE (cache.contains (1));
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
        EXPECT_EQ (cache.getCapacity(), capacity);
    }
}
