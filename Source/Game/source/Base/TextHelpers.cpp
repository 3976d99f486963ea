#include "Base/TextHelpers.h"

#include <algorithm>
#include <cctype>

std::string ToLowerCopy(std::string aText)
{
    std::transform(aText.begin(), aText.end(), aText.begin(),
                   [](unsigned char aCharacter) { return static_cast<char>(std::tolower(aCharacter)); });
    return aText;
}

std::string TrimCopy(std::string aText)
{
    const auto isBlank = [](unsigned char aCharacter)
    {
        return std::isspace(aCharacter) != 0;
    };
    const auto first = std::find_if_not(aText.begin(), aText.end(), isBlank);
    const auto last = std::find_if_not(aText.rbegin(), aText.rend(), isBlank).base();
    if (first >= last)
    {
        return {};
    }
    return std::string(first, last);
}
