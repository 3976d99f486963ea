// Shared pieces of the fuzz targets: the input as a span, and a per-process scratch folder for the
// loaders that read from files.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

namespace QelFuzz
{
inline std::span<const std::uint8_t> AsSpan(const std::uint8_t* aData, std::size_t aSize)
{
    return {aData, aSize};
}

// A folder of this process's own, made on first use; fuzzing runs in parallel share /tmp.
inline const std::filesystem::path& ScratchFolder()
{
    static const std::filesystem::path folder = []
    {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("qel-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

// Writes the input to aName in the scratch folder and returns its path.
inline std::filesystem::path WriteInput(const std::filesystem::path& aName, const std::uint8_t* aData,
                                        std::size_t aSize)
{
    const std::filesystem::path path = ScratchFolder() / aName;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(aData), static_cast<std::streamsize>(aSize));
    return path;
}
} // namespace QelFuzz
