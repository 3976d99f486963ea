#include "Base/InputHandler.h"

namespace
{
constexpr std::uint32_t KeyIndex(std::uint64_t aCode)
{
    return static_cast<std::uint32_t>(aCode & 0xFF);
}

constexpr std::uint64_t KeyBit(std::uint32_t aIndex)
{
    return std::uint64_t{1} << (aIndex % 64);
}
} // namespace

bool InputHandler::UpdateEvents(std::uint32_t aMessage, Qel::WParam aWParam, Qel::LParam /*aLParam*/)
{
    switch (aMessage)
    {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    {
        const std::uint32_t key = KeyIndex(aWParam);
        myPendingKeys[key / 64] |= KeyBit(key);
        return true;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
    {
        const std::uint32_t key = KeyIndex(aWParam);
        myPendingKeys[key / 64] &= ~KeyBit(key);
        return true;
    }
    case WM_ACTIVATE:
        if (Qel::LowWord(aWParam) == WA_INACTIVE)
        {
            myPendingKeys = {};
        }
        return false;
    case WM_KILLFOCUS:
        myPendingKeys = {};
        return false;
    default:
        return false;
    }
}

void InputHandler::Update()
{
    myPreviousKeys = myKeys;
    myKeys = myPendingKeys;
    myPreviousMousePosition = myMousePosition;
    myMousePosition = myPendingMousePosition;
    myMouseDelta = myPendingMouseDelta;
    myPendingMouseDelta = {};
}

bool InputHandler::Has(const KeySet& aSet, std::uint32_t aKey)
{
    const std::uint32_t key = KeyIndex(aKey);
    return (aSet[key / 64] & KeyBit(key)) != 0;
}

bool InputHandler::IsKeyDown(std::uint32_t aKey) const
{
    return Has(myKeys, aKey);
}

bool InputHandler::IsKeyPressed(std::uint32_t aKey) const
{
    return Has(myKeys, aKey) && !Has(myPreviousKeys, aKey);
}

bool InputHandler::IsKeyReleased(std::uint32_t aKey) const
{
    return !Has(myKeys, aKey) && Has(myPreviousKeys, aKey);
}
