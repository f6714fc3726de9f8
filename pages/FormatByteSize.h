#pragma once

#include <string>

/** "976.6 KiB", "1.9 MiB", "1.1 GiB": one decimal, KiB up to 1.1 MiB, MiB up to 1.1 GiB. */
std::string formatByteSize (double value);
