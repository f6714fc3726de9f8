#include "look/PhysicalPixelMapping.h"

#include <gtest/gtest.h>

TEST (PhysicalPixelMapping, SnapsToHalfUnitsAtScale2WithTiesToEven)
{
    // A component at (10.25, 5.3) in its window, as under a shifted parent: x = 3 maps to 26.5
    // device pixels, rounded to even 26 and back to 2.75; y = 4 maps to 18.6, 19, back to 4.2.
    auto snapped = PhysicalPixelMapping::make ({ 10.25f, 5.3f }, 2.0f, { 0, 0, 200, 100 },
                                               { 50, 50, 200, 100 })
                       .snapToDevicePixels ({ 3, 4, 10, 20 });
    EXPECT_NEAR (snapped.getX(), 2.75f, 1e-4f);
    EXPECT_NEAR (snapped.getY(), 4.2f, 1e-4f);
}
