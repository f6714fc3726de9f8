#include "LookTestSupport.h"

#include "look/EmbeddedFont.h"

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
