// Targa images.
#include "FuzzSupport.h"
#include "Platform/Image/TargaImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize)
{
    static_cast<void>(Platform::ReadTarga(QelFuzz::AsSpan(aData, aSize)));
    return 0;
}
