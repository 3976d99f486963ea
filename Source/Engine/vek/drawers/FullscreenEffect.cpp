#include "vek/drawers/FullscreenEffect.h"

#include "vek/Core/Engine.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsStateStack.h"

#include <array>
#include <cstring>

namespace Qel
{
namespace
{
constexpr const char* EFFECT_VERTEX_SHADER = "Shaders/PostprocessVS";
constexpr std::uint32_t PIXELATE_CONSTANT_REGISTER = 13;
} // namespace

bool FullscreenEffect::Init(const char* aPixelShaderName)
{
    myVertexShader = DX11::GetVertexShader(EFFECT_VERTEX_SHADER);
    if (myVertexShader == nullptr)
    {
        myPixelShader = nullptr;
        return false;
    }
    myPixelShader = DX11::GetPixelShader(aPixelShaderName);
    return myPixelShader != nullptr;
}

void FullscreenEffect::Render()
{
    Platform::Gfx::Context* context = DX11::GetContext();
    if (!IsReady() || context == nullptr)
    {
        return;
    }
    if (GraphicsStateStack* stack = GraphicsStateStack::GetActive())
    {
        stack->UpdateGpuStates(false);
    }
    context->IASetPrimitiveTopology(Platform::Gfx::PrimitiveTopology::TriangleList);
    context->IASetInputLayout(nullptr);
    const std::array<Platform::Gfx::BufferPtr, 1> noBuffer{};
    const std::array<std::uint32_t, 1> zero{};
    context->IASetVertexBuffers(0, noBuffer, zero, zero);
    context->IASetIndexBuffer(nullptr, Platform::Gfx::Format::R32_UINT, 0);
    context->VSSetShader(myVertexShader->shader);
    context->PSSetShader(myPixelShader->shader);
    Engine::CountDrawCall();
    context->Draw(3, 0);
}

FullscreenPixelateEffect::~FullscreenPixelateEffect() = default;

bool FullscreenPixelateEffect::Init(const char* aPixelShaderName)
{
    Platform::Gfx::Device* device = DX11::GetDevice();
    Platform::Gfx::SwapChain* swapChain = DX11::GetSwapChain();
    if (device == nullptr || swapChain == nullptr)
    {
        return false;
    }
    Platform::Gfx::BufferDesc constants;
    constants.byteWidth = sizeof(PixelateConstants);
    constants.usage = Platform::Gfx::Usage::Dynamic;
    constants.bindFlags = Platform::Gfx::BIND_CONSTANT_BUFFER;
    constants.cpuAccessFlags = Platform::Gfx::CPU_ACCESS_WRITE;
    myConstantBuffer = device->CreateBuffer(constants);
    if (myConstantBuffer == nullptr)
    {
        return false;
    }

    const Platform::Gfx::Texture2DPtr backBuffer = swapChain->GetBuffer(0);
    if (backBuffer == nullptr)
    {
        return false;
    }
    Platform::Gfx::Texture2DDesc desc = backBuffer->GetDesc();
    desc.mipLevels = 1;
    desc.arraySize = 1;
    desc.miscFlags = 0;
    desc.bindFlags = Platform::Gfx::BIND_SHADER_RESOURCE | Platform::Gfx::BIND_RENDER_TARGET;
    myTexture = device->CreateTexture2D(desc);
    if (myTexture == nullptr)
    {
        return false;
    }
    myShaderResourceView = device->CreateShaderResourceView(myTexture);
    if (myShaderResourceView == nullptr)
    {
        return false;
    }
    myRenderTarget = RenderTarget::Create(myTexture);
    if (myRenderTarget.IsEmpty())
    {
        return false;
    }
    return FullscreenEffect::Init(aPixelShaderName);
}

PixelateConstants FullscreenPixelateEffect::MakeConstants() const
{
    PixelateConstants constants;
    constants.pixelSize = myPixelSize;
    if (const Engine* engine = Engine::GetInstance())
    {
        constants.renderWidth = engine->GetRenderSize().x;
        constants.renderHeight = engine->GetRenderSize().y;
    }
    else
    {
        // A device used without the engine renders at its back buffer's size.
        const Vector2<int> resolution = DX11::GetResolution();
        constants.renderWidth = static_cast<std::uint32_t>(resolution.x);
        constants.renderHeight = static_cast<std::uint32_t>(resolution.y);
    }
    return constants;
}

void FullscreenPixelateEffect::Render()
{
    Platform::Gfx::Context* context = DX11::GetContext();
    RenderTarget* backBuffer = DX11::GetBackBuffer();
    if (!IsReady() || context == nullptr || backBuffer == nullptr || backBuffer->IsEmpty())
    {
        return;
    }
    backBuffer->SetAsActiveTarget(nullptr);
    const PixelateConstants constants = MakeConstants();
    void* mapped = context->Map(myConstantBuffer);
    if (mapped == nullptr)
    {
        return;
    }
    std::memcpy(mapped, &constants, sizeof(constants));
    context->Unmap(myConstantBuffer);
    const std::array<Platform::Gfx::BufferPtr, 1> buffers{myConstantBuffer};
    context->PSSetConstantBuffers(PIXELATE_CONSTANT_REGISTER, buffers);
    const std::array<Platform::Gfx::ShaderResourceViewPtr, 1> views{myShaderResourceView};
    context->PSSetShaderResources(0, views);
    FullscreenEffect::Render();
}
} // namespace Qel
