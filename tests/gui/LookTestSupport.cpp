#include "LookTestSupport.h"

#include "look/EmbeddedFont.h"

#include <gtest/gtest.h>

namespace look_test_support
{
ScopedInstalledTheme::ScopedInstalledTheme()
{
    fontInstalled = installEmbeddedFont (theme);
    juce::Desktop::getInstance().setDefaultLookAndFeel (&theme);
}

ScopedInstalledTheme::~ScopedInstalledTheme()
{
    juce::Desktop::getInstance().setDefaultLookAndFeel (nullptr);
}

juce::MemoryBlock embeddedFontData()
{
    return embeddedFont::readFirstEntry (embeddedFont::joinArchive());
}

std::string hex (juce::Colour colour)
{
    return colour.toDisplayString (true).toStdString();
}

void expectPixels (const juce::Image& image, std::initializer_list<PixelCheck> checks)
{
    for (auto& check : checks)
    {
        auto actual = image.getPixelAt (check.x, check.y);
        auto expected = juce::Colour (check.argb);
        auto where = "at " + std::to_string (check.x) + "," + std::to_string (check.y) + ": " +
                     hex (actual) + " vs " + hex (expected);

        EXPECT_NEAR (actual.getAlpha(), expected.getAlpha(), 1) << where;

        if (expected.getAlpha() <= 0x40)
            continue;

        for (auto channel :
             { &juce::Colour::getRed, &juce::Colour::getGreen, &juce::Colour::getBlue })
        {
            EXPECT_NEAR ((actual.*channel)(), (expected.*channel)(), check.tolerance) << where;
        }
    }
}

bool isBlank (const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() != 0)
                return false;

    return true;
}

int darkestChannel (const juce::Image& image, juce::Rectangle<int> area)
{
    int darkest = 255;

    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
        {
            auto c = image.getPixelAt (x, y);
            darkest = juce::jmin (darkest, (int) c.getRed(), (int) c.getGreen(), (int) c.getBlue());
        }

    return darkest;
}

int leftmostInk (const juce::Image& image)
{
    for (int x = 0; x < image.getWidth(); ++x)
        if (darkestChannel (image, { x, 0, 1, image.getHeight() }) < 200)
            return x;

    return -1;
}

juce::Image whiteImage (int width, int height)
{
    juce::Image image (juce::Image::RGB, width, height, false);
    image.clear (image.getBounds(), juce::Colours::white);
    return image;
}
} // namespace look_test_support
