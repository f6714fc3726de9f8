#pragma once

#include <string>
#include <string_view>

/** text (UTF-8 from juce::JSON) with each pair of encoded surrogates joined into the character
    they stand for. JUCE's parser decodes each \u escape alone, so a character beyond U+FFFF sent
    as a pair of escapes ("\ud83d\ude00", as many JSON writers send them) arrives as two
    three-byte surrogates. A lone surrogate is left as it is: it is no text, and what checks the
    text refuses it. */
std::string withSurrogatePairsJoined (std::string_view text);
