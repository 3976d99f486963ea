#include "vek/settings/AssetPaths.h"

#include "vek/settings/Settings.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <vector>

namespace Qel
{
namespace
{
namespace fs = std::filesystem;

bool IsRegularFile(const fs::path& aPath)
{
    std::error_code error;
    return fs::is_regular_file(aPath, error);
}

bool IsDirectory(const fs::path& aPath)
{
    std::error_code error;
    return fs::is_directory(aPath, error);
}

bool EqualIgnoringCase(const std::string& aLeft, const std::string& aRight)
{
    return aLeft.size() == aRight.size() &&
           std::equal(aLeft.begin(), aLeft.end(), aRight.begin(),
                      [](char aA, char aB) {
                          return std::tolower(static_cast<unsigned char>(aA)) ==
                                 std::tolower(static_cast<unsigned char>(aB));
                      });
}

// The entries of aFolder whose names differ from aName only in case, in name order.
std::vector<fs::path> FindCaseVariants(const fs::path& aFolder, const std::string& aName)
{
    std::vector<fs::path> variants;
    std::error_code error;
    for (fs::directory_iterator it(aFolder, error), end; !error && it != end; it.increment(error))
    {
        const std::string name = it->path().filename().string();
        if (name != aName && EqualIgnoringCase(name, aName))
        {
            variants.push_back(it->path());
        }
    }
    std::sort(variants.begin(), variants.end());
    return variants;
}

// Depth first over the remaining components: the exact name, then each case variant, so that two
// folders differing only in case ("Textures" and "textures") are both searched.
fs::path FindRemaining(const fs::path& aFolder, const std::vector<std::string>& someComponents, size_t aIndex)
{
    if (aIndex == someComponents.size())
    {
        return IsRegularFile(aFolder) ? aFolder : fs::path();
    }
    const std::string& component = someComponents[aIndex];
    const bool isLast = aIndex + 1 == someComponents.size();
    if (component == "..")
    {
        return FindRemaining(aFolder / component, someComponents, aIndex + 1);
    }

    std::vector<fs::path> choices{aFolder / component};
    const std::vector<fs::path> variants = FindCaseVariants(aFolder, component);
    choices.insert(choices.end(), variants.begin(), variants.end());
    for (const fs::path& choice : choices)
    {
        if (isLast ? IsRegularFile(choice) : IsDirectory(choice))
        {
            if (fs::path found = FindRemaining(choice, someComponents, aIndex + 1); !found.empty())
            {
                return found;
            }
        }
    }
    return {};
}

std::string Resolve(std::string_view aRelativePath, bool aIncludeEngineRoot)
{
    if (aRelativePath.empty())
    {
        return {};
    }
    const fs::path relative(impl::WithForwardSlashes(aRelativePath));
    std::vector<fs::path> bases{GetExecutableFolder() / "data"};
    if (!GetGameAssetRoot().empty())
    {
        bases.push_back(GetGameAssetRoot());
    }
    if (aIncludeEngineRoot && !GetEngineAssetRoot().empty())
    {
        bases.push_back(GetEngineAssetRoot());
    }
    // An absolute path stands by itself whatever the base: one search, not one per base (a miss
    // walks the whole path without regard to case, from the file system's root).
    if (relative.is_absolute())
    {
        bases.resize(1);
    }
    for (const fs::path& base : bases)
    {
        if (fs::path found = impl::FindFileBelow(base, relative); !found.empty())
        {
            return found.generic_string();
        }
    }
    return {};
}
} // namespace

std::string ResolveAssetPath(std::string_view aRelativePath)
{
    return Resolve(aRelativePath, true);
}

std::string ResolveGameAssetPath(std::string_view aRelativePath)
{
    return Resolve(aRelativePath, false);
}

namespace impl
{
fs::path FindFileBelow(const fs::path& aBase, const fs::path& aRelative)
{
    const fs::path exact = aBase / aRelative;
    if (IsRegularFile(exact))
    {
        return exact;
    }
    // Only the part below the base is matched loosely: the base comes from settings or the executable.
    const fs::path start = aRelative.is_absolute() ? aRelative.root_path() : aBase;
    if (!IsDirectory(start))
    {
        return {};
    }
    std::vector<std::string> components;
    for (const fs::path& part : aRelative.relative_path())
    {
        const std::string text = part.string();
        if (!text.empty() && text != ".")
        {
            components.push_back(text);
        }
    }
    return components.empty() ? fs::path() : FindRemaining(start, components, 0);
}

std::string WithForwardSlashes(std::string_view aPath)
{
    std::string result(aPath);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}
} // namespace impl
} // namespace Qel
