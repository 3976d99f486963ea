// DDS textures: the reader and the layer descriptions it hands the device.
#include "FuzzSupport.h"
#include "Platform/Image/DdsImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize)
{
    for (const std::uint32_t flags : {0u, 1u})
    {
        const Platform::DdsImage image = Platform::ReadDds(QelFuzz::AsSpan(aData, aSize), flags);
        if (!image.IsEmpty())
        {
            static_cast<void>(image.MakeTextureDesc());
            static_cast<void>(image.MakeInitialData());
        }
    }
    return 0;
}
