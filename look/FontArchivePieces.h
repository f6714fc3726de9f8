#pragma once

#include <cstddef>

// The embedded font's zip archive in four consecutive pieces, assembled into the program by
// cmake/Font.cmake. Joined in order they give the archive.
extern "C"
{
    extern const unsigned char larkspire_font_piece_1[];
    extern const std::size_t larkspire_font_piece_1_size;
    extern const unsigned char larkspire_font_piece_2[];
    extern const std::size_t larkspire_font_piece_2_size;
    extern const unsigned char larkspire_font_piece_3[];
    extern const std::size_t larkspire_font_piece_3_size;
    extern const unsigned char larkspire_font_piece_4[];
    extern const std::size_t larkspire_font_piece_4_size;
}
