// Ordinary image files (PNG first of all) through the header check and the decoder.
#include "FuzzSupport.h"
#include "Platform/Image/ImageDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize)
{
    static_cast<void>(Platform::DecodeImage(QelFuzz::AsSpan(aData, aSize)));
    return 0;
}
