// Turning a relative asset path into a file on disk. Content names paths with '\\' or '/' and with
// folder names in either case, so a miss on the exact path falls back to matching each component
// without regard to case. Pure file-system reads: any thread may call these once settings are loaded.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace Qel
{
// The first regular file of <executable>/data/<path>, <game root>/<path>, <engine root>/<path>
// (roots that are not set are skipped), as a '/'-separated string; "" when none, or for "".
std::string ResolveAssetPath(std::string_view aRelativePath);

// The same over the "data/" folder and the game root only.
std::string ResolveGameAssetPath(std::string_view aRelativePath);

namespace impl
{
// The regular file aRelative names below aBase, matching components without regard to case where the
// exact name is missing; empty when there is none. An absolute aRelative ignores aBase.
std::filesystem::path FindFileBelow(const std::filesystem::path& aBase,
                                    const std::filesystem::path& aRelative);

// aPath with every '\\' turned into '/'.
std::string WithForwardSlashes(std::string_view aPath);
} // namespace impl
} // namespace Qel
