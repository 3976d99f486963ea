// Replaces a file's contents so that a reader sees either the old file whole or the new one whole: the
// text goes to a temporary file in the same folder, is flushed, and is then renamed over the target.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The temporary file a replacement of aTarget writes first.
std::filesystem::path GetReplacementPath(const std::filesystem::path& aTarget);

// False when the temporary file could not be written or renamed (aOutError says why); aTarget is then
// untouched and the temporary file removed.
bool ReplaceFileContents(const std::filesystem::path& aTarget, std::string_view aText,
                         std::string& aOutError);
