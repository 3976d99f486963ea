// A handle to one interned, immutable text: a single pointer, null for the empty string.
//
// Two ids are equal exactly when they are the same pointer; the text is only read to hash (FNV-1a 64)
// and to order (strcmp, null reading as ""). Ids are made by StringRegistry only, own nothing and may be
// read from any thread, since interned texts never change or move.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string_view>

namespace Qel
{
inline constexpr std::uint64_t FNV1A64_OFFSET_BASIS = 14695981039346656037ull;
inline constexpr std::uint64_t FNV1A64_PRIME = 1099511628211ull;

constexpr std::uint64_t Fnv1a64(std::string_view aText)
{
    std::uint64_t hash = FNV1A64_OFFSET_BASIS;
    for (const char character : aText)
    {
        hash ^= static_cast<std::uint8_t>(character);
        hash *= FNV1A64_PRIME;
    }
    return hash;
}

class StringId
{
public:
    constexpr StringId() = default;

    bool IsNull() const { return myText == nullptr; }
    // Never null: the null id reads as the empty string.
    const char* GetText() const { return myText != nullptr ? myText : ""; }
    std::string_view GetView() const { return GetText(); }
    // The handle itself, for callers that compare or store addresses.
    const char* GetPointer() const { return myText; }

    friend bool operator==(StringId aLeft, StringId aRight) { return aLeft.myText == aRight.myText; }
    // Orders by text, so sorted containers do not depend on where texts were stored.
    friend bool operator<(StringId aLeft, StringId aRight)
    {
        return std::strcmp(aLeft.GetText(), aRight.GetText()) < 0;
    }

private:
    friend class StringRegistry;
    constexpr explicit StringId(const char* aText) : myText(aText) {}

    const char* myText = nullptr;
};

struct StringIdHash
{
    std::size_t operator()(StringId aId) const { return static_cast<std::size_t>(Fnv1a64(aId.GetView())); }
};
} // namespace Qel

template <>
struct std::hash<Qel::StringId> : Qel::StringIdHash
{
};
