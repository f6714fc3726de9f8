#pragma once

#include "DevServerOptions.h"

#include <cstdint>
#include <string>

namespace devserver
{
/** The installer's bytes: a given file, or bytes generated from a seed (the same seed and
    offset always give the same bytes, so a test can recreate them). */
class InstallerSource final
{
public:
    InstallerSource() = default;
    ~InstallerSource();
    InstallerSource (const InstallerSource&) = delete;
    InstallerSource& operator= (const InstallerSource&) = delete;

    bool open (const Options& options);
    std::int64_t size() const { return byteCount; }
    std::string read (std::int64_t offset, std::size_t count) const;

    /** Byte at offset of the generated installer for seed. */
    static unsigned char generatedByte (std::uint64_t seed, std::int64_t offset);

private:
    int fd = -1;
    std::uint64_t seed = 1;
    std::int64_t byteCount = 0;
};
} // namespace devserver
