// Reading the run layout's 2D art for the content tests: JSON documents, DDS pictures through the
// engine's reader, and pixel look-ups in a picture's top level.
#pragma once

#include "Platform/Image/DdsImage.h"

#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace Art2dTest
{
std::filesystem::path RunFolder();
std::filesystem::path GameAssetRoot();

// The parsed document, or nullopt (with the reason in aReason) for a missing or malformed file.
std::optional<nlohmann::json> ReadJson(const std::filesystem::path& aPath, std::string* aReason = nullptr);

// The picture read through the engine's DDS reader; empty when the file is missing or refused.
Platform::DdsImage ReadPicture(const std::filesystem::path& aPath, std::string* aReason = nullptr);

// Alpha (0..255) of a top-level pixel of an RGBA8 picture; x right, y down from the top row.
std::uint8_t AlphaAt(const Platform::DdsImage& anImage, std::uint32_t anX, std::uint32_t aY);

// The largest alpha inside a rectangle of the top level (x0 <= x < x1, y0 <= y < y1).
std::uint8_t MaxAlphaIn(const Platform::DdsImage& anImage, std::uint32_t anX0, std::uint32_t aY0,
                        std::uint32_t anX1, std::uint32_t aY1);

// Whether two rectangles of the top level hold the same bytes.
bool SameCells(const Platform::DdsImage& anImage, std::uint32_t aWidth, std::uint32_t aHeight,
               std::uint32_t anAx, std::uint32_t anAy, std::uint32_t aBx, std::uint32_t aBy);

// Levels of a full mip chain for a picture of this size.
std::uint32_t FullMipCount(std::uint32_t aWidth, std::uint32_t aHeight);
} // namespace Art2dTest
