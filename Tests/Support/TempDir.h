// A fresh folder under the system's temporary folder, removed with everything in it on destruction.
#pragma once

#include <filesystem>
#include <string_view>

namespace QelTest
{
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& GetPath() const { return myPath; }

    // Writes aText to the path relative to this folder, creating parent folders; returns the full path.
    std::filesystem::path WriteFile(const std::filesystem::path& aRelative, std::string_view aText) const;

private:
    std::filesystem::path myPath;
};
} // namespace QelTest
