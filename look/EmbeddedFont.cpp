#include "look/EmbeddedFont.h"

#include "look/FontArchivePieces.h"
#include "look/FontDataCheck.h"
#include "look/TypefaceCache.h"

namespace embeddedFont
{

juce::MemoryBlock joinArchive()
{
    juce::MemoryBlock archive;
    archive.append (larkspire_font_piece_1, larkspire_font_piece_1_size);
    archive.append (larkspire_font_piece_2, larkspire_font_piece_2_size);
    archive.append (larkspire_font_piece_3, larkspire_font_piece_3_size);
    archive.append (larkspire_font_piece_4, larkspire_font_piece_4_size);
    return archive;
}

juce::MemoryBlock readFirstEntry (juce::MemoryBlock&& archive)
{
    juce::MemoryBlock fontData;
    juce::MemoryInputStream archiveStream (std::move (archive));
    juce::ZipFile zip (archiveStream);

    if (std::unique_ptr<juce::InputStream> entry { zip.createStreamForEntry (0) })
        entry->readIntoMemoryBlock (fontData, -1);

    return fontData;
}

juce::Typeface::Ptr makeTypeface (const juce::MemoryBlock& fontData)
{
    // The platform's font loader takes any bytes, and FreeType's path crashes on what it
    // cannot open; only data that is plainly a font gets that far.
    if (! isUsableFontData (fontData.getData(), fontData.getSize()))
        return nullptr;

    return juce::Typeface::createSystemTypefaceFor (fontData.getData(), fontData.getSize());
}

bool installFromArchive (juce::LookAndFeel& theme, juce::MemoryBlock&& archive)
{
    auto fontData = readFirstEntry (std::move (archive));
    auto typeface = makeTypeface (fontData);

    if (typeface == nullptr)
        return false;

    theme.setDefaultSansSerifTypeface (new tessel::TypefaceCache (typeface));
    return true;
}

} // namespace embeddedFont

bool installEmbeddedFont (juce::LookAndFeel& theme)
{
    return embeddedFont::installFromArchive (theme, embeddedFont::joinArchive());
}
