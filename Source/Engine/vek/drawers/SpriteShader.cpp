#include "vek/drawers/SpriteShader.h"

#include "vek/drawers/SpriteDrawer.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/TextureManager.h"

#include <cstring>

namespace Qel
{
namespace
{
using namespace Platform::Gfx;

constexpr const char* DEFAULT_TEXTURE_NAMES[3] = {"Textures/T_Default_n.dds", "Textures/T_Default_m.dds",
                                                  "Textures/T_Default_fx.dds"};

ShaderResourceViewPtr ViewOf(const Texture* aTexture)
{
    return aTexture != nullptr ? aTexture->myView : nullptr;
}
} // namespace

bool SpriteShader::Init(const char* aVertexShaderName, const char* aPixelShaderName)
{
    if (!Shader::Init(aVertexShaderName, aPixelShaderName, {}))
    {
        return false;
    }
    Device* device = DX11::GetDevice();
    BufferDesc desc;
    desc.byteWidth = CONSTANT_BUFFER_BYTES;
    desc.usage = Usage::Dynamic;
    desc.bindFlags = BIND_CONSTANT_BUFFER;
    desc.cpuAccessFlags = CPU_ACCESS_WRITE;
    myConstantBuffer = device != nullptr ? device->CreateBuffer(desc) : nullptr;
    if (myConstantBuffer == nullptr)
    {
        return false;
    }
    if (TextureManager* textures = TextureManager::GetActive())
    {
        for (std::size_t index = 0; index < myDefaultTextures.size(); ++index)
        {
            myDefaultTextures[index] = textures->GetTexture(DEFAULT_TEXTURE_NAMES[index], 1, false);
        }
    }
    return true;
}

bool SpriteShader::CreateInputLayout(const std::string& aBytecode)
{
    const std::array<InputElementDesc, 3> layout = {{
        {"POSITION", 0, Format::R32G32B32A32_FLOAT, 0, 0, InputClassification::PerVertex, 0},
        {"TEXCOORD", 0, Format::R32G32B32A32_FLOAT, 0, APPEND_ALIGNED_ELEMENT, InputClassification::PerVertex,
         0},
        {"TEXCOORD", 1, Format::R32G32_FLOAT, 0, APPEND_ALIGNED_ELEMENT, InputClassification::PerVertex, 0},
    }};
    Device* device = DX11::GetDevice();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(aBytecode.data());
    myInputLayout = device != nullptr
                        ? device->CreateInputLayout(layout.data(), static_cast<std::uint32_t>(layout.size()),
                                                    std::span(bytes, aBytecode.size()))
                        : nullptr;
    // The layout's verdict is not the shader's: a shader without a layout still binds.
    return true;
}

bool SpriteShader::RenderBind(const SpriteSharedData& aSharedData)
{
    if (!Bind())
    {
        return false;
    }
    Context* context = DX11::GetContext();
    const TextureManager* textures = TextureManager::GetActive();
    const Texture* colorTexture = aSharedData.texture != nullptr ? aSharedData.texture
                                  : textures != nullptr          ? textures->GetWhiteSquare()
                                                                 : nullptr;
    const std::array<ShaderResourceViewPtr, 4> views = {
        ViewOf(colorTexture),
        ViewOf(aSharedData.normalTexture != nullptr ? aSharedData.normalTexture : myDefaultTextures[0]),
        ViewOf(aSharedData.materialTexture != nullptr ? aSharedData.materialTexture : myDefaultTextures[1]),
        ViewOf(aSharedData.fxTexture != nullptr ? aSharedData.fxTexture : myDefaultTextures[2]),
    };
    context->PSSetShaderResources(1, views);
    if (myConstantBuffer != nullptr)
    {
        void* target = context->Map(myConstantBuffer);
        if (target == nullptr)
        {
            return false;
        }
        const int used = std::min(myLastUsedCustomConstant + 1, static_cast<int>(CUSTOM_CONSTANT_COUNT));
        const auto bytes =
            static_cast<std::uint32_t>(static_cast<std::size_t>(std::max(used, 0)) * sizeof(Vector4<float>));
        if (bytes > 0)
        {
            std::memcpy(target, myCustomConstants.data(), bytes);
        }
        // Only the used constants are sent; most batches use none.
        context->Unmap(myConstantBuffer, bytes);
        context->VSSetConstantBuffers(myConstantBufferRegister, std::span(&myConstantBuffer, 1));
        context->PSSetConstantBuffers(myConstantBufferRegister, std::span(&myConstantBuffer, 1));
    }
    for (int index = 0; index < std::min(myExtraTextureCount, static_cast<int>(myExtraTextures.size()));
         ++index)
    {
        const ExtraTexture& extra = myExtraTextures[static_cast<std::size_t>(index)];
        const ShaderResourceViewPtr view = ViewOf(extra.texture);
        context->PSSetShaderResources(extra.pixelRegister, std::span(&view, 1));
    }
    return true;
}
} // namespace Qel
