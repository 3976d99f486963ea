// Writes the engine's own textures as DDS files into the folder named on the command line: the cube
// maps "whiteCubeMap.dds" (every texel white) and "horizonCubeMap.dds" (a sky that brightens toward the
// horizon above a darker ground), and the flat material textures every mesh falls back to:
// "T_Default_c.dds" white albedo, "T_Default_n.dds" the flat tangent-space normal, "T_Default_m.dds"
// occlusion 1, roughness 0.7 and metalness 0 in red, green and blue, "T_Default_fx.dds" no emission.
// Run by the build; the output depends on nothing but this file.
#include "Platform/Image/DdsImage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

namespace
{
constexpr std::uint32_t FACE_SIDE = 32;

struct Direction
{
    float x;
    float y;
    float z;
};

// The direction through texel (u, v) of a face, u and v from -1 to 1 (v down), faces in the order
// +x, -x, +y, -y, +z, -z.
Direction FaceDirection(int aFace, float u, float v)
{
    switch (aFace)
    {
    case 0:
        return {1.0f, -v, -u};
    case 1:
        return {-1.0f, -v, u};
    case 2:
        return {u, 1.0f, v};
    case 3:
        return {u, -1.0f, -v};
    case 4:
        return {u, -v, 1.0f};
    default:
        return {-u, -v, -1.0f};
    }
}

std::uint8_t ToByte(float aValue)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(aValue, 0.0f, 1.0f) * 255.0f));
}

using Shade = std::function<std::array<float, 3>(float aHeight)>;

std::vector<std::vector<std::uint8_t>> MakeFaces(const Shade& aShade)
{
    std::vector<std::vector<std::uint8_t>> faces(6);
    for (int face = 0; face < 6; ++face)
    {
        std::vector<std::uint8_t>& pixels = faces[static_cast<std::size_t>(face)];
        pixels.reserve(FACE_SIDE * FACE_SIDE * 4);
        for (std::uint32_t row = 0; row < FACE_SIDE; ++row)
        {
            for (std::uint32_t column = 0; column < FACE_SIDE; ++column)
            {
                const float u = (static_cast<float>(column) + 0.5f) / FACE_SIDE * 2.0f - 1.0f;
                const float v = (static_cast<float>(row) + 0.5f) / FACE_SIDE * 2.0f - 1.0f;
                const Direction d = FaceDirection(face, u, v);
                const float height = d.y / std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
                const std::array<float, 3> color = aShade(height);
                pixels.insert(pixels.end(), {ToByte(color[0]), ToByte(color[1]), ToByte(color[2]), 255});
            }
        }
    }
    return faces;
}

std::array<float, 3> Mix(const std::array<float, 3>& aFrom, const std::array<float, 3>& aTo, float aAmount)
{
    return {aFrom[0] + (aTo[0] - aFrom[0]) * aAmount, aFrom[1] + (aTo[1] - aFrom[1]) * aAmount,
            aFrom[2] + (aTo[2] - aFrom[2]) * aAmount};
}

std::array<float, 3> Horizon(float aHeight)
{
    constexpr std::array<float, 3> SKY_HORIZON = {0.86f, 0.89f, 0.93f};
    constexpr std::array<float, 3> ZENITH = {0.34f, 0.54f, 0.84f};
    constexpr std::array<float, 3> GROUND_HORIZON = {0.46f, 0.43f, 0.39f};
    constexpr std::array<float, 3> NADIR = {0.20f, 0.18f, 0.16f};
    if (aHeight >= 0.0f)
    {
        return Mix(SKY_HORIZON, ZENITH, std::sqrt(aHeight));
    }
    return Mix(GROUND_HORIZON, NADIR, std::sqrt(-aHeight));
}

bool WriteFile(const std::filesystem::path& aPath, const std::vector<std::uint8_t>& someBytes)
{
    std::ofstream file(aPath, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(someBytes.data()),
               static_cast<std::streamsize>(someBytes.size()));
    return static_cast<bool>(file);
}

bool Write(const std::filesystem::path& aPath, const Shade& aShade)
{
    const std::vector<std::vector<std::uint8_t>> faces = MakeFaces(aShade);
    return WriteFile(aPath, Platform::WriteDds(Platform::Gfx::Format::R8G8B8A8_UNORM, FACE_SIDE, FACE_SIDE, 1,
                                               true, faces, false));
}

// A small 2D texture of one colour.
bool WriteFlat(const std::filesystem::path& aPath, const std::array<std::uint8_t, 4>& aTexel)
{
    constexpr std::uint32_t SIDE = 4;
    std::vector<std::vector<std::uint8_t>> level(1);
    for (std::uint32_t texel = 0; texel < SIDE * SIDE; ++texel)
    {
        level[0].insert(level[0].end(), aTexel.begin(), aTexel.end());
    }
    return WriteFile(
        aPath, Platform::WriteDds(Platform::Gfx::Format::R8G8B8A8_UNORM, SIDE, SIDE, 1, false, level, false));
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::printf("usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const bool written = Write(folder / "whiteCubeMap.dds",
                               [](float) {
                                   return std::array<float, 3>{1, 1, 1};
                               }) &&
                         Write(folder / "horizonCubeMap.dds", Horizon) &&
                         WriteFlat(folder / "T_Default_c.dds", {255, 255, 255, 255}) &&
                         WriteFlat(folder / "T_Default_n.dds", {128, 128, 255, 255}) &&
                         WriteFlat(folder / "T_Default_m.dds", {255, 178, 0, 255}) &&
                         WriteFlat(folder / "T_Default_fx.dds", {0, 0, 0, 255});
    if (!written)
    {
        std::printf("[Textures] could not write the engine textures into %s\n", folder.string().c_str());
        return 1;
    }
    return 0;
}
