#include "Platform/Uuid/Uuid.h"

#include <uuid/uuid.h>

#include <cctype>
#include <cstring>

namespace Qel::Platform
{
namespace
{
constexpr std::size_t UUID_TEXT_LENGTH = 36;

// libuuid's own checks differ between versions; the accepted form is fixed here first.
bool HasUuidShape(const char* aText)
{
    if (std::strlen(aText) != UUID_TEXT_LENGTH)
    {
        return false;
    }
    for (std::size_t index = 0; index < UUID_TEXT_LENGTH; ++index)
    {
        const bool isHyphenPosition = index == 8 || index == 13 || index == 18 || index == 23;
        const unsigned char character = static_cast<unsigned char>(aText[index]);
        if (isHyphenPosition ? character != '-' : std::isxdigit(character) == 0)
        {
            return false;
        }
    }
    return true;
}
} // namespace

bool ParseUuid(const char* aText, Uuid& aOut)
{
    aOut.fill(0);
    if (aText == nullptr || !HasUuidShape(aText))
    {
        return false;
    }
    uuid_t parsed;
    if (uuid_parse(aText, parsed) != 0)
    {
        return false;
    }
    std::memcpy(aOut.data(), parsed, aOut.size());
    return true;
}
} // namespace Qel::Platform
