// The exception a scene load or a definition scan leaves with when one data file is bad: it names the
// file, and the original cause (the json library's exception, or a file-system error) is nested in it,
// so callers can still tell a parse error from a type error.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace Qel
{
class SceneDataError : public std::runtime_error
{
public:
    SceneDataError(const std::filesystem::path& aFile, const std::string& aReason)
        : std::runtime_error(aFile.string() + ": " + aReason), myFile(aFile)
    {
    }

    const std::filesystem::path& GetFile() const { return myFile; }

private:
    std::filesystem::path myFile;
};
} // namespace Qel
