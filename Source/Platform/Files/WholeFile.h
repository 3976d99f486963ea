// A whole file's bytes in one container, or an empty one when the file cannot be opened, is empty or
// cannot be read to its end: callers treat all three alike.
#pragma once

#include <filesystem>
#include <fstream>

namespace Platform
{
template <typename Bytes>
Bytes ReadWholeFile(const std::filesystem::path& aPath)
{
    std::ifstream file(aPath, std::ios::binary | std::ios::ate);
    if (!file)
    {
        return {};
    }
    const std::streamoff size = file.tellg();
    if (size <= 0)
    {
        return {};
    }
    Bytes bytes(static_cast<std::size_t>(size), typename Bytes::value_type{});
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), size))
    {
        return {};
    }
    return bytes;
}
} // namespace Platform
