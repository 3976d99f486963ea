#include "Platform/Uuid/Uuid.h"

#include <cstddef>

namespace Qel::Platform
{
namespace
{
constexpr std::size_t UUID_TEXT_LENGTH = 36;

bool IsHyphenPosition(std::size_t aIndex)
{
    return aIndex == 8 || aIndex == 13 || aIndex == 18 || aIndex == 23;
}

// The value of one hex digit in either case, or -1. Decoded here rather than by libuuid, whose own
// checks differ between versions and whose parse costs several times this on a large level.
int HexValue(char aCharacter)
{
    if (aCharacter >= '0' && aCharacter <= '9')
    {
        return aCharacter - '0';
    }
    if (aCharacter >= 'a' && aCharacter <= 'f')
    {
        return aCharacter - 'a' + 10;
    }
    if (aCharacter >= 'A' && aCharacter <= 'F')
    {
        return aCharacter - 'A' + 10;
    }
    return -1;
}
} // namespace

bool ParseUuid(const char* aText, Uuid& aOut)
{
    aOut.fill(0);
    if (aText == nullptr)
    {
        return false;
    }
    Uuid parsed{};
    std::size_t digit = 0;
    for (std::size_t index = 0; index < UUID_TEXT_LENGTH; ++index)
    {
        const char character = aText[index];
        if (IsHyphenPosition(index))
        {
            if (character != '-')
            {
                return false;
            }
            continue;
        }
        // A NUL (a short text) is no hex digit, so nothing is read past the end of the text.
        const int value = HexValue(character);
        if (value < 0)
        {
            return false;
        }
        parsed[digit / 2] = static_cast<std::uint8_t>(parsed[digit / 2] << 4 | value);
        ++digit;
    }
    if (aText[UUID_TEXT_LENGTH] != '\0')
    {
        return false;
    }
    aOut = parsed;
    return true;
}
} // namespace Qel::Platform
