// Window icon files: the directory, bitmap entries and PNG entries.
#include "FuzzSupport.h"
#include "Platform/Window/IconFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize)
{
    static_cast<void>(Platform::DecodeIcon(QelFuzz::AsSpan(aData, aSize)));
    return 0;
}
