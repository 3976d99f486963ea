// The repository's root, for tests that read committed files (fixtures, manifests, the game's icon):
// QEL_TEST_SOURCE_DIR when the environment sets it (the test presets do), else the checkout this file
// was compiled from, so a test binary started by hand finds them too.
#pragma once

#include <cstdlib>
#include <filesystem>

namespace QelTest
{
inline std::filesystem::path SourceRoot()
{
    if (const char* root = std::getenv("QEL_TEST_SOURCE_DIR"))
    {
        return root;
    }
    return (std::filesystem::path(__FILE__).parent_path() / "../..").lexically_normal();
}
} // namespace QelTest
