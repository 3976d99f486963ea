#include "vek/drawers/DrawerResources.h"

#include "vek/graphics/DX11.h"

namespace Qel::impl
{
Platform::Gfx::BufferPtr CreateDynamicBuffer(std::uint32_t aByteWidth, std::uint32_t aBindFlags)
{
    Platform::Gfx::Device* device = DX11::GetDevice();
    if (device == nullptr)
    {
        return nullptr;
    }
    Platform::Gfx::BufferDesc desc;
    desc.byteWidth = aByteWidth;
    desc.usage = Platform::Gfx::Usage::Dynamic;
    desc.bindFlags = aBindFlags;
    desc.cpuAccessFlags = Platform::Gfx::CPU_ACCESS_WRITE;
    return device->CreateBuffer(desc);
}

Platform::Gfx::InputLayoutPtr CreateLayout(std::span<const Platform::Gfx::InputElementDesc> someElements,
                                           const std::string& aVertexShaderBytecode)
{
    Platform::Gfx::Device* device = DX11::GetDevice();
    if (device == nullptr)
    {
        return nullptr;
    }
    const std::span<const std::uint8_t> code(
        reinterpret_cast<const std::uint8_t*>(aVertexShaderBytecode.data()), aVertexShaderBytecode.size());
    return device->CreateInputLayout(someElements.data(), static_cast<std::uint32_t>(someElements.size()),
                                     code);
}
} // namespace Qel::impl
