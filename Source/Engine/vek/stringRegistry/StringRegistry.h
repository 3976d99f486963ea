// The process-wide interning of texts into StringIds.
//
// Run-time texts are copied into 1 MiB zero-filled blocks that are never freed or moved before exit;
// literals are stored uncopied. Usable during static initialisation. One mutex serialises every call,
// so the main thread and a loading task may intern at the same time; ids may be read anywhere.
#pragma once

#include "vek/stringRegistry/StringId.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace Qel
{
// The most bytes one interned copy may take, its terminating NUL included.
inline constexpr std::size_t STRING_REGISTRY_SIZE_LIMIT = 1024;
inline constexpr std::int32_t STRING_REGISTRY_BLOCK_SIZE = 0x100000;

class StringRegistry
{
public:
    // The null id for an empty text, a text of 1024 bytes or more (with an assertion, or a
    // line naming the data file being read) or a text that
    // holds a NUL character (which could never be found again under its full length).
    static StringId RegisterOrGetString(std::string_view aString);
    // aLiteral must have static storage duration; aLength excludes its NUL. It is stored uncopied
    // unless the same text was interned before.
    static StringId RegisterOrGetLiteral(const char* aLiteral, std::size_t aLength);

    // While one lives on a thread, the texts that thread interns come from the content of aFile: one
    // over the size limit is the file's fault, not the program's, so it is refused with one line naming
    // the file instead of the assertion. aFile must outlive the scope.
    class DataFileScope
    {
    public:
        explicit DataFileScope(const std::filesystem::path& aFile);
        ~DataFileScope();
        DataFileScope(const DataFileScope&) = delete;
        DataFileScope& operator=(const DataFileScope&) = delete;

    private:
        const std::filesystem::path* myPrevious;
    };

    // Observers of the arena, for diagnostics and tests.
    static std::size_t GetBlockCount();
    static std::int32_t GetFreeBytesInNewestBlock();
};
} // namespace Qel
