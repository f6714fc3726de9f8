#pragma once

#include <cstddef>

// Files compiled into the program by cmake/Resources.cmake. Every array ends with a NUL byte
// that the size does not count, so the texts can be read as C strings.
namespace BinaryResources
{
extern const unsigned char logoSvg[];
extern const std::size_t logoSvgSize;

extern const unsigned char globeSvg[];
extern const std::size_t globeSvgSize;

extern const unsigned char translationJa[];
extern const std::size_t translationJaSize;

extern const unsigned char translationZhCn[];
extern const std::size_t translationZhCnSize;
} // namespace BinaryResources
