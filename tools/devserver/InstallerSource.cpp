#include "InstallerSource.h"

#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace devserver
{
namespace
{
std::uint64_t splitMix (std::uint64_t x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}
} // namespace

InstallerSource::~InstallerSource()
{
    if (fd >= 0)
        ::close (fd);
}

bool InstallerSource::open (const Options& options)
{
    seed = options.seed;
    byteCount = options.fileSize;

    if (! options.filePath)
        return true;

    fd = ::open (options.filePath->c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info
    {
    };
    if (fd < 0 || ::fstat (fd, &info) != 0 || ! S_ISREG (info.st_mode))
    {
        std::cerr << "larkspire-devserver: cannot read " << *options.filePath << ": "
                  << std::strerror (errno) << "\n";
        return false;
    }
    byteCount = static_cast<std::int64_t> (info.st_size);
    return true;
}

unsigned char InstallerSource::generatedByte (std::uint64_t generatorSeed, std::int64_t offset)
{
    const auto word =
        splitMix (generatorSeed * 0x100000001b3ULL + static_cast<std::uint64_t> (offset / 8));
    return static_cast<unsigned char> (word >> (8 * (offset % 8)));
}

std::string InstallerSource::read (std::int64_t offset, std::size_t count) const
{
    std::string bytes (count, '\0');

    if (fd >= 0)
    {
        const auto got = ::pread (fd, bytes.data(), count, static_cast<off_t> (offset));
        bytes.resize (got > 0 ? static_cast<std::size_t> (got) : 0);
        return bytes;
    }

    // Whole words at a time: the benchmark-sized files should not cost much CPU here.
    for (std::size_t i = 0; i < count;)
    {
        const auto position = offset + static_cast<std::int64_t> (i);
        if (position % 8 == 0 && count - i >= 8)
        {
            const auto word =
                splitMix (seed * 0x100000001b3ULL + static_cast<std::uint64_t> (position / 8));
            std::memcpy (bytes.data() + i, &word, 8);
            i += 8;
        }
        else
        {
            bytes[i] = static_cast<char> (generatedByte (seed, position));
            ++i;
        }
    }
    return bytes;
}
} // namespace devserver
