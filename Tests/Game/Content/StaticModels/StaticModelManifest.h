// The static-mesh manifest of the content scripts, read as the tests' list of shipped models: each
// row names a model, its tag, its texture and the bounds the engine must load it at.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace StaticModelContent
{
struct ManifestRow
{
    std::string myModel;
    std::string myTag;
    std::string myTexture;
    std::array<float, 3> myMin{};
    std::array<float, 3> myMax{};
};

std::filesystem::path ManifestPath();

// The table rows of the manifest; rows that do not parse are left out (the tests count them).
std::vector<ManifestRow> ReadManifest(const std::filesystem::path& aPath);

// True for the flat background pieces (parallax, middle ground and sky tags).
bool IsBackgroundTag(const std::string& aTag);
} // namespace StaticModelContent
