// Text measurement through the typeface cache against the bare typeface, and the cost of
// making the embedded font's typeface at start-up.
#include "look/EmbeddedFont.h"
#include "look/FernwaveTheme.h"
#include "look/TypefaceCache.h"
#include "resources/BinaryResources.h"

#include <benchmark/benchmark.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <fstream>
#include <string>

namespace
{
// Texts as the pages show them, in the three languages.
juce::StringArray pageTexts()
{
    return {
        "Welcome to Larkspire",
        "This will download and install Larkspire to your computer",
        "Please select a location to save downloaded files",
        "A folder will be created if it does not exist",
        "Browse",
        "Next",
        "Back",
        "Language",
        "Downloading Larkspire installer to your computer...",
        "12.3 MB / 456.7 MB (1.2 MB/s)",
        juce::CharPointer_UTF8 (
            "LARKSPIRE \xe3\x81\xb8\xe3\x82\x88\xe3\x81\x86\xe3\x81\x93\xe3\x81\x9d"),
        juce::CharPointer_UTF8 ("\xe3\x83\x80\xe3\x82\xa6\xe3\x83\xb3\xe3\x83\xad\xe3\x83\xbc\xe3"
                                "\x83\x89\xe5\xae\x8c\xe4\xba\x86"),
        juce::CharPointer_UTF8 (
            "\xe3\x83\x95\xe3\x82\xa9\xe3\x83\xab\xe3\x83\x80\xe3\x82\x92\xe9\x96\x8b\xe3\x81\x8f"),
        juce::CharPointer_UTF8 ("\xe8\xa8\x80\xe8\xaa\x9e"),
        juce::CharPointer_UTF8 ("\xe6\xac\xa2\xe8\xbf\x8e\xe4\xbd\xbf\xe7\x94\xa8 Larkspire"),
        juce::CharPointer_UTF8 (
            "\xe8\xaf\xb7\xe9\x80\x89\xe6\x8b\xa9\xe4\xb8\x8b\xe8\xbd\xbd\xe6\x96\x87\xe4\xbb\xb6"
            "\xe7\x9a\x84\xe4\xbf\x9d\xe5\xad\x98\xe4\xbd\x8d\xe7\xbd\xae"),
        juce::CharPointer_UTF8 ("\xe4\xb8\x8b\xe4\xb8\x80\xe6\xad\xa5"),
        juce::CharPointer_UTF8 ("\xe6\xad\xa3\xe5\x9c\xa8\xe4\xb8\x8b\xe8\xbd\xbd")
    };
}

juce::Typeface::Ptr& embeddedTypeface()
{
    static juce::Typeface::Ptr typeface =
        embeddedFont::makeTypeface (embeddedFont::readFirstEntry (embeddedFont::joinArchive()));
    return typeface;
}

// A second typeface that has already laid out both translation texts, as the application's
// has once the pages were shown in Japanese and Chinese: JUCE's typeface then holds several
// hundred glyphs, and finds a non-ASCII one by walking through them.
juce::Typeface::Ptr& typefaceWithTranslationsLoaded()
{
    static juce::Typeface::Ptr typeface = []
    {
        auto t =
            embeddedFont::makeTypeface (embeddedFont::readFirstEntry (embeddedFont::joinArchive()));
        t->getStringWidth (juce::String::fromUTF8 ((const char*) BinaryResources::translationJa,
                                                   (int) BinaryResources::translationJaSize));
        t->getStringWidth (juce::String::fromUTF8 ((const char*) BinaryResources::translationZhCn,
                                                   (int) BinaryResources::translationZhCnSize));
        return t;
    }();
    return typeface;
}

// Twice the cache's capacity of distinct texts, asked in turn: every lookup misses.
juce::StringArray missTexts()
{
    juce::StringArray texts;
    auto base = pageTexts();

    for (int i = 0; i < (int) tessel::TypefaceCache::widthCapacity * 2; ++i)
        texts.add (base[i % base.size()] + " " + juce::String (i));

    return texts;
}

template <typename Query>
void runOverTexts (benchmark::State& state, const juce::StringArray& texts, Query&& query)
{
    int i = 0;

    for (auto _ : state)
    {
        query (texts.getReference (i));
        i = (i + 1) % texts.size();
    }

    state.SetItemsProcessed (state.iterations());
}

void widthOf (juce::Typeface& typeface, const juce::String& text)
{
    benchmark::DoNotOptimize (typeface.getStringWidth (text));
}

void glyphsOf (juce::Typeface& typeface, const juce::String& text)
{
    juce::Array<int> glyphs;
    juce::Array<float> offsets;
    typeface.getGlyphPositions (text, glyphs, offsets);
    benchmark::DoNotOptimize (glyphs.getRawDataPointer());
}

void BM_Width_Bare (benchmark::State& state)
{
    auto texts = pageTexts();
    auto& bare = *embeddedTypeface();
    runOverTexts (state, texts, [&] (const juce::String& t) { widthOf (bare, t); });
}

void BM_Width_BareWithTranslationsLoaded (benchmark::State& state)
{
    auto texts = pageTexts();
    auto& bare = *typefaceWithTranslationsLoaded();
    runOverTexts (state, texts, [&] (const juce::String& t) { widthOf (bare, t); });
}

void BM_Width_CacheHit (benchmark::State& state)
{
    auto texts = pageTexts();
    tessel::TypefaceCache cache (embeddedTypeface());
    runOverTexts (state, texts, [&] (const juce::String& t) { widthOf (cache, t); });
}

void BM_Width_CacheMiss (benchmark::State& state)
{
    auto texts = missTexts();
    tessel::TypefaceCache cache (embeddedTypeface());
    runOverTexts (state, texts, [&] (const juce::String& t) { widthOf (cache, t); });
}

void BM_Width_BareOnMissTexts (benchmark::State& state)
{
    auto texts = missTexts();
    auto& bare = *embeddedTypeface();
    runOverTexts (state, texts, [&] (const juce::String& t) { widthOf (bare, t); });
}

void BM_GlyphPositions_Bare (benchmark::State& state)
{
    auto texts = pageTexts();
    auto& bare = *embeddedTypeface();
    runOverTexts (state, texts, [&] (const juce::String& t) { glyphsOf (bare, t); });
}

void BM_GlyphPositions_BareWithTranslationsLoaded (benchmark::State& state)
{
    auto texts = pageTexts();
    auto& bare = *typefaceWithTranslationsLoaded();
    runOverTexts (state, texts, [&] (const juce::String& t) { glyphsOf (bare, t); });
}

void BM_GlyphPositions_CacheHit (benchmark::State& state)
{
    auto texts = pageTexts();
    tessel::TypefaceCache cache (embeddedTypeface());
    runOverTexts (state, texts, [&] (const juce::String& t) { glyphsOf (cache, t); });
}

void BM_GlyphPositions_CacheMiss (benchmark::State& state)
{
    auto texts = missTexts();
    tessel::TypefaceCache cache (embeddedTypeface());
    runOverTexts (state, texts, [&] (const juce::String& t) { glyphsOf (cache, t); });
}

void BM_GlyphPositions_BareOnMissTexts (benchmark::State& state)
{
    auto texts = missTexts();
    auto& bare = *embeddedTypeface();
    runOverTexts (state, texts, [&] (const juce::String& t) { glyphsOf (bare, t); });
}

void BM_Outline_Bare (benchmark::State& state)
{
    auto& bare = *embeddedTypeface();
    int glyph = 0x4e00;

    for (auto _ : state)
    {
        juce::Path path;
        benchmark::DoNotOptimize (bare.getOutlineForGlyph (glyph, path));
        glyph = glyph == 0x4e00 + 500 ? 0x4e00 : glyph + 1;
    }
}

void BM_Outline_CacheHit (benchmark::State& state)
{
    tessel::TypefaceCache cache (embeddedTypeface());
    int glyph = 0x4e00;

    for (auto _ : state)
    {
        juce::Path path;
        benchmark::DoNotOptimize (cache.getOutlineForGlyph (glyph, path));
        glyph = glyph == 0x4e00 + 500 ? 0x4e00 : glyph + 1;
    }
}

// Start-up: the steps of installing the font, each on its own.
void BM_Startup_JoinArchive (benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize (embeddedFont::joinArchive().getData());
}

void BM_Startup_JoinAndInflate (benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize (
            embeddedFont::readFirstEntry (embeddedFont::joinArchive()).getData());
}

void BM_Startup_MakeTypeface (benchmark::State& state)
{
    auto fontData = embeddedFont::readFirstEntry (embeddedFont::joinArchive());

    for (auto _ : state)
        benchmark::DoNotOptimize (embeddedFont::makeTypeface (fontData).get());
}

void BM_Startup_InstallEmbeddedFont (benchmark::State& state)
{
    for (auto _ : state)
    {
        FernwaveTheme theme;
        benchmark::DoNotOptimize (installEmbeddedFont (theme));
    }
}

BENCHMARK (BM_Width_Bare);
BENCHMARK (BM_Width_BareWithTranslationsLoaded);
BENCHMARK (BM_Width_CacheHit);
BENCHMARK (BM_Width_CacheMiss);
BENCHMARK (BM_Width_BareOnMissTexts);
BENCHMARK (BM_GlyphPositions_Bare);
BENCHMARK (BM_GlyphPositions_BareWithTranslationsLoaded);
BENCHMARK (BM_GlyphPositions_CacheHit);
BENCHMARK (BM_GlyphPositions_CacheMiss);
BENCHMARK (BM_GlyphPositions_BareOnMissTexts);
BENCHMARK (BM_Outline_Bare);
BENCHMARK (BM_Outline_CacheHit);
BENCHMARK (BM_Startup_JoinArchive)->Unit (benchmark::kMillisecond);
BENCHMARK (BM_Startup_JoinAndInflate)->Unit (benchmark::kMillisecond);
BENCHMARK (BM_Startup_MakeTypeface)->Unit (benchmark::kMillisecond);
BENCHMARK (BM_Startup_InstallEmbeddedFont)->Unit (benchmark::kMillisecond);

long statusKilobytes (const std::string& field)
{
    std::ifstream status ("/proc/self/status");
    std::string line;

    while (std::getline (status, line))
        if (line.rfind (field + ":", 0) == 0)
            return std::stol (line.substr (field.size() + 1));

    return -1;
}

// Memory of installing the font once, in a process that has done nothing else yet: the peak
// (high-water mark) during the step and what stays afterwards.
void reportInstallMemory()
{
    auto rssBefore = statusKilobytes ("VmRSS");
    auto peakBefore = statusKilobytes ("VmHWM");
    auto start = juce::Time::getMillisecondCounterHiRes();

    {
        FernwaveTheme theme;
        auto installed = installEmbeddedFont (theme);
        auto elapsed = juce::Time::getMillisecondCounterHiRes() - start;
        auto rssAfter = statusKilobytes ("VmRSS");
        auto peakAfter = statusKilobytes ("VmHWM");

        std::printf ("installEmbeddedFont, first call in a fresh process: %s in %.1f ms\n"
                     "  resident before %.1f MB, peak during %.1f MB (+%.1f MB), resident after "
                     "%.1f MB (+%.1f MB)\n",
                     installed ? "installed" : "NOT installed", elapsed, rssBefore / 1024.0,
                     peakAfter / 1024.0, (peakAfter - juce::jmax (peakBefore, rssBefore)) / 1024.0,
                     rssAfter / 1024.0, (rssAfter - rssBefore) / 1024.0);
    }

    std::fflush (stdout);
}
} // namespace

int main (int argc, char** argv)
{
    reportInstallMemory();

    benchmark::Initialize (&argc, argv);

    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    embeddedTypeface() = nullptr;
    typefaceWithTranslationsLoaded() = nullptr;
    return 0;
}
