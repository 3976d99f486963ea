// Parsing of UUID text in its 36-character 8-4-4-4-12 hexadecimal form.
//
// Either case of hex digits is accepted; braces, missing hyphens, other lengths or other characters
// are not. Pure functions, safe on any thread.
#pragma once

#include <array>
#include <cstdint>

namespace Qel::Platform
{
// The 16 bytes in the order of the text's digits; equal texts give equal bytes.
using Uuid = std::array<std::uint8_t, 16>;

// False (and aOut all zero) for a null or malformed text.
bool ParseUuid(const char* aText, Uuid& aOut);
} // namespace Qel::Platform
