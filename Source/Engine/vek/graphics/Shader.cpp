#include "vek/graphics/Shader.h"

#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsStateStack.h"

#include <array>

namespace Qel
{
namespace
{
using namespace Platform::Gfx;

std::span<const std::uint8_t> AsBytes(const std::string& aText)
{
    return {reinterpret_cast<const std::uint8_t*>(aText.data()), aText.size()};
}
} // namespace

bool Shader::CreateInputLayout(const std::string& aBytecode)
{
    static_cast<void>(aBytecode);
    return false;
}

bool Shader::Init(const char* aVertexShaderName, const char* aPixelShaderName, LayoutCallback aCallback)
{
    // Taken by value so it is gone before Init returns, on every path.
    const LayoutCallback callback = std::move(aCallback);
    myIsInitialized = false;
    myVertexShaderPath = aVertexShaderName != nullptr ? aVertexShaderName : "";
    myPixelShaderPath = aPixelShaderName != nullptr ? aPixelShaderName : "";
    myVertexShader = DX11::GetVertexShader(aVertexShaderName);
    if (myVertexShader == nullptr)
    {
        return false;
    }
    myPixelShader = DX11::GetPixelShader(aPixelShaderName);
    if (myPixelShader == nullptr)
    {
        return false;
    }
    myInputLayout.reset();
    const std::string& bytecode = myVertexShader->bytecode;
    if (callback)
    {
        callback(bytecode);
        myIsInitialized = true;
        return true;
    }
    if (CreateInputLayout(bytecode))
    {
        myIsInitialized = true;
        return true;
    }
    const std::array<InputElementDesc, 7> layout = {{
        {"POSITION", 0, Format::R32G32B32_FLOAT, 0, 0, InputClassification::PerVertex, 0},
        {"TEXCOORD", 0, Format::R32G32_FLOAT, 0, APPEND_ALIGNED_ELEMENT, InputClassification::PerVertex, 0},
        {"TEXCOORD", 1, Format::R32G32_FLOAT, 1, 0, InputClassification::PerInstance, 1},
        {"TEXCOORD", 2, Format::R32G32B32A32_FLOAT, 1, APPEND_ALIGNED_ELEMENT,
         InputClassification::PerInstance, 1},
        {"TEXCOORD", 3, Format::R32G32B32A32_FLOAT, 1, APPEND_ALIGNED_ELEMENT,
         InputClassification::PerInstance, 1},
        {"TEXCOORD", 4, Format::R32G32B32A32_FLOAT, 1, APPEND_ALIGNED_ELEMENT,
         InputClassification::PerInstance, 1},
        {"TEXCOORD", 5, Format::R32G32B32A32_FLOAT, 1, APPEND_ALIGNED_ELEMENT,
         InputClassification::PerInstance, 1},
    }};
    Device* device = DX11::GetDevice();
    myInputLayout =
        device != nullptr ? device->CreateInputLayout(layout.data(), 7, AsBytes(bytecode)) : nullptr;
    myIsInitialized = myInputLayout != nullptr;
    return myIsInitialized;
}

bool Shader::Bind()
{
    Context* context = DX11::GetContext();
    if (myVertexShader == nullptr || myPixelShader == nullptr || !myIsInitialized || context == nullptr)
    {
        return false;
    }
    context->VSSetShader(myVertexShader->shader);
    context->PSSetShader(myPixelShader->shader);
    context->IASetInputLayout(myInputLayout);
    context->IASetPrimitiveTopology(PrimitiveTopology::TriangleList);
    if (GraphicsStateStack* stack = GraphicsStateStack::GetActive())
    {
        stack->UpdateGpuStates(false);
    }
    return true;
}
} // namespace Qel
