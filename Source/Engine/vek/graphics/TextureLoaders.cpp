#include "vek/graphics/TextureLoaders.h"

#include "Platform/Image/DdsImage.h"
#include "Platform/Image/ImageDecode.h"
#include "vek/graphics/DX11.h"

#include <filesystem>
#include <fstream>
#include <vector>

namespace Qel
{
namespace
{
using namespace Platform::Gfx;

// One read of the whole file into a buffer sized for it: a byte-by-byte stream copy costs menus and
// levels with many textures a noticeable share of their load.
std::vector<std::uint8_t> ReadFileBytes(const std::string& aPath)
{
    // Only a regular file is read: a stream over a folder throws instead of failing.
    std::error_code error;
    if (!std::filesystem::is_regular_file(aPath, error))
    {
        return {};
    }
    const std::uintmax_t size = std::filesystem::file_size(aPath, error);
    std::ifstream file(aPath, std::ios::binary);
    if (error || !file)
    {
        return {};
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    // A file cut short while it was read keeps what was there.
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

LoadedTexture MakeView(const Texture2DPtr& aTexture)
{
    Device* device = DX11::GetDevice();
    if (aTexture == nullptr || device == nullptr)
    {
        return {};
    }
    LoadedTexture loaded;
    loaded.view = device->CreateShaderResourceView(aTexture);
    loaded.width = aTexture->GetDesc().width;
    loaded.height = aTexture->GetDesc().height;
    return loaded.view != nullptr ? loaded : LoadedTexture{};
}

LoadedTexture LoadDds(const std::vector<std::uint8_t>& someBytes, std::uint32_t aColorMode)
{
    const std::uint32_t flags = aColorMode == 1   ? Platform::DDS_LOADER_FORCE_SRGB
                                : aColorMode == 2 ? Platform::DDS_LOADER_IGNORE_SRGB
                                                  : Platform::DDS_LOADER_DEFAULT;
    const Platform::DdsImage image = Platform::ReadDds(someBytes, flags);
    Device* device = DX11::GetDevice();
    if (image.IsEmpty() || device == nullptr)
    {
        return {};
    }
    const std::vector<SubresourceData> initial = image.MakeInitialData();
    return MakeView(device->CreateTexture2D(image.MakeTextureDesc(), initial));
}

// The decoder also reads Targa files, which belong to the Targa loader alone, so only the signatures
// of the ordinary formats reach it.
bool IsOrdinaryImage(const std::vector<std::uint8_t>& someBytes)
{
    auto startsWith = [&someBytes](std::initializer_list<std::uint8_t> aSignature)
    {
        return someBytes.size() >= aSignature.size() &&
               std::equal(aSignature.begin(), aSignature.end(), someBytes.begin());
    };
    return startsWith({0x89, 'P', 'N', 'G'}) || startsWith({0xFF, 0xD8, 0xFF}) || startsWith({'B', 'M'}) ||
           startsWith({'G', 'I', 'F', '8'});
}

Platform::RgbaImage DecodeOrdinaryImage(const std::vector<std::uint8_t>& someBytes)
{
    constexpr int MAX_SIDE = 16384;
    if (!IsOrdinaryImage(someBytes))
    {
        return {};
    }
    Platform::RgbaImage image = Platform::DecodeImage(someBytes);
    if (image.IsEmpty() || image.width > MAX_SIDE || image.height > MAX_SIDE)
    {
        return {};
    }
    return image;
}

LoadedTexture MakeOrdinaryImage(const Platform::RgbaImage& anImage, std::uint32_t aColorMode)
{
    Device* device = DX11::GetDevice();
    Context* context = DX11::GetContext();
    if (anImage.IsEmpty() || device == nullptr || context == nullptr)
    {
        return {};
    }
    Texture2DDesc desc;
    desc.width = static_cast<std::uint32_t>(anImage.width);
    desc.height = static_cast<std::uint32_t>(anImage.height);
    desc.mipLevels = 0;
    desc.format = aColorMode == 1 ? Format::R8G8B8A8_UNORM_SRGB : Format::R8G8B8A8_UNORM;
    desc.bindFlags = BIND_SHADER_RESOURCE;
    const SubresourceData top{anImage.pixels.data(), desc.width * 4};
    LoadedTexture loaded = MakeView(device->CreateTexture2D(desc, std::span(&top, 1)));
    if (loaded.view != nullptr)
    {
        context->GenerateMips(loaded.view);
    }
    return loaded;
}

LoadedTexture MakeTarga(const std::optional<Platform::TargaPixels>& anImage)
{
    Device* device = DX11::GetDevice();
    if (!anImage || device == nullptr)
    {
        return {};
    }
    Texture2DDesc desc;
    desc.width = anImage->width;
    desc.height = anImage->height;
    desc.format = Format::R8G8B8A8_UNORM_SRGB;
    desc.bindFlags = BIND_SHADER_RESOURCE;
    const SubresourceData pixels{anImage->pixels.data(), desc.width * 4};
    return MakeView(device->CreateTexture2D(desc, std::span(&pixels, 1)));
}

bool HasTargaExtension(const std::string& aPath)
{
    const std::size_t dot = aPath.rfind('.');
    return dot != std::string::npos && aPath.compare(dot + 1, std::string::npos, "tga") == 0;
}
} // namespace

std::optional<TargaImage> LoadTargaImage(const std::string& aPath)
{
    return Platform::ReadTarga(ReadFileBytes(aPath));
}

DecodedTexture DecodeTextureFile(const std::string& aResolvedPath, std::uint32_t aColorMode,
                                 bool aDecodeImages)
{
    DecodedTexture decoded;
    const std::vector<std::uint8_t> bytes = ReadFileBytes(aResolvedPath);
    if (bytes.empty())
    {
        return decoded;
    }
    decoded.dds = LoadDds(bytes, aColorMode);
    if (decoded.dds.view != nullptr || !aDecodeImages)
    {
        return decoded;
    }
    decoded.image = DecodeOrdinaryImage(bytes);
    if (decoded.image.IsEmpty() && HasTargaExtension(aResolvedPath))
    {
        decoded.targa = Platform::ReadTarga(bytes);
    }
    return decoded;
}

LoadedTexture FinishTexture(DecodedTexture&& aDecoded, const std::string& aResolvedPath,
                            std::uint32_t aColorMode)
{
    const bool isMainThread = DX11::IsOnMainThread();
    if (aDecoded.dds.view != nullptr)
    {
        // Made on a task, the GL object is due now, so the driver's refusal shows here as it would have;
        // unless the device defers the main thread's makes, which then wait for the first use.
        const Platform::Gfx::Device* device = DX11::GetDevice();
        const bool makesAtOnce = device != nullptr && device->GetCore()->MakesAtOnce();
        if (makesAtOnce && aDecoded.dds.view->Realise() == 0)
        {
            return {};
        }
        return aDecoded.dds;
    }
    if (!isMainThread)
    {
        return {};
    }
    LoadedTexture loaded = MakeOrdinaryImage(aDecoded.image, aColorMode);
    if (loaded.view == nullptr && HasTargaExtension(aResolvedPath))
    {
        loaded = MakeTarga(aDecoded.targa);
    }
    return loaded;
}

LoadedTexture LoadTextureFile(const std::string& aResolvedPath, std::uint32_t aColorMode)
{
    const bool isMainThread = DX11::IsOnMainThread();
    return FinishTexture(DecodeTextureFile(aResolvedPath, aColorMode, isMainThread), aResolvedPath,
                         aColorMode);
}
} // namespace Qel
