// Reads a Windows icon file (".ico"): the directory of images, and the largest entry decoded to RGBA.
// Entries may hold a PNG or a 32-bit or 24-bit device-independent bitmap with its AND mask. Pure
// functions over bytes; any thread.
#pragma once

#include "Platform/Image/ImageDecode.h"

#include <cstdint>
#include <filesystem>
#include <span>

namespace Platform
{
// The largest image of the icon, or an empty image when the bytes are no icon this reader understands.
RgbaImage DecodeIcon(std::span<const std::uint8_t> someBytes);

// The same for a file; a missing or unreadable file gives an empty image.
RgbaImage LoadIconFile(const std::filesystem::path& aPath);
} // namespace Platform
