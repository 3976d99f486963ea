#include "Art2dContent.h"

#include "vek/settings/Settings.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace Art2dTest
{
std::filesystem::path RunFolder()
{
    return Qel::GetExecutableFolder();
}

std::filesystem::path GameAssetRoot()
{
    return RunFolder() / "data" / "game";
}

std::optional<nlohmann::json> ReadJson(const std::filesystem::path& aPath, std::string* aReason)
{
    std::ifstream stream(aPath);
    if (!stream)
    {
        if (aReason != nullptr)
        {
            *aReason = "cannot open " + aPath.string();
        }
        return std::nullopt;
    }
    // Comments are refused, as the game's readers refuse them.
    nlohmann::json document = nlohmann::json::parse(stream, nullptr, false, false);
    if (document.is_discarded())
    {
        if (aReason != nullptr)
        {
            *aReason = "malformed JSON in " + aPath.string();
        }
        return std::nullopt;
    }
    return document;
}

Platform::DdsImage ReadPicture(const std::filesystem::path& aPath, std::string* aReason)
{
    std::ifstream stream(aPath, std::ios::binary);
    if (!stream)
    {
        if (aReason != nullptr)
        {
            *aReason = "cannot open " + aPath.string();
        }
        return {};
    }
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(stream)),
                                          std::istreambuf_iterator<char>());
    return Platform::ReadDds(bytes, Platform::DDS_LOADER_DEFAULT, aReason);
}

std::uint8_t AlphaAt(const Platform::DdsImage& anImage, std::uint32_t anX, std::uint32_t aY)
{
    const Platform::DdsImage::Subresource& top = anImage.subresources.front();
    return anImage.data[top.offset + static_cast<std::size_t>(aY) * top.rowPitch + anX * 4u + 3u];
}

std::uint8_t MaxAlphaIn(const Platform::DdsImage& anImage, std::uint32_t anX0, std::uint32_t aY0,
                        std::uint32_t anX1, std::uint32_t aY1)
{
    std::uint8_t most = 0;
    for (std::uint32_t y = aY0; y < aY1; ++y)
    {
        for (std::uint32_t x = anX0; x < anX1; ++x)
        {
            most = std::max(most, AlphaAt(anImage, x, y));
        }
    }
    return most;
}

bool SameCells(const Platform::DdsImage& anImage, std::uint32_t aWidth, std::uint32_t aHeight,
               std::uint32_t anAx, std::uint32_t anAy, std::uint32_t aBx, std::uint32_t aBy)
{
    const Platform::DdsImage::Subresource& top = anImage.subresources.front();
    for (std::uint32_t row = 0; row < aHeight; ++row)
    {
        const std::uint8_t* a = anImage.data.data() + top.offset +
                                static_cast<std::size_t>(anAy + row) * top.rowPitch + anAx * 4u;
        const std::uint8_t* b =
            anImage.data.data() + top.offset + static_cast<std::size_t>(aBy + row) * top.rowPitch + aBx * 4u;
        if (std::memcmp(a, b, aWidth * 4u) != 0)
        {
            return false;
        }
    }
    return true;
}

std::uint32_t FullMipCount(std::uint32_t aWidth, std::uint32_t aHeight)
{
    std::uint32_t levels = 1;
    for (std::uint32_t side = std::max(aWidth, aHeight); side > 1; side /= 2)
    {
        ++levels;
    }
    return levels;
}
} // namespace Art2dTest
