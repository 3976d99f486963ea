#include "vek/drawers/LineDrawer.h"

#include "vek/Core/Engine.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsStateStack.h"

#include <array>
#include <cstring>
#include <span>

namespace Qel
{
namespace
{
constexpr std::uint32_t LINE_VERTEX_STRIDE = sizeof(impl::LineVertex);

const std::array<Platform::Gfx::InputElementDesc, 2> LINE_LAYOUT{{
    {"POSITION", 0, Platform::Gfx::Format::R32G32B32_FLOAT, 0, 0,
     Platform::Gfx::InputClassification::PerVertex, 0},
    {"TEXCOORD", 0, Platform::Gfx::Format::R32G32B32A32_FLOAT, 0, Platform::Gfx::APPEND_ALIGNED_ELEMENT,
     Platform::Gfx::InputClassification::PerVertex, 0},
}};
} // namespace

LineDrawer::~LineDrawer() = default;

bool LineDrawer::Init()
{
    Shader::Init("shaders/lineshader_VS", "shaders/lineshader_PS", {});
    myVertexBuffer = impl::CreateDynamicBuffer(VERTEX_BUFFER_SIZE, Platform::Gfx::BIND_VERTEX_BUFFER);
    return true;
}

bool LineDrawer::CreateInputLayout(const std::string& aVertexShaderBytecode)
{
    myInputLayout = impl::CreateLayout(LINE_LAYOUT, aVertexShaderBytecode);
    return myInputLayout != nullptr;
}

void LineDrawer::Draw(const LinePrimitive& aLine)
{
    Platform::Gfx::Context* context = DX11::GetContext();
    if (context == nullptr || myVertexBuffer == nullptr || !Bind())
    {
        return;
    }
    context->IASetPrimitiveTopology(Platform::Gfx::PrimitiveTopology::LineList);
    void* mapped = context->Map(myVertexBuffer);
    if (mapped == nullptr)
    {
        return;
    }
    const GraphicsStateStack* stack = GraphicsStateStack::GetActive();
    const Matrix4x4 transform = stack != nullptr ? stack->GetTransform() : Matrix4x4();
    const std::array<impl::LineVertex, 2> vertices = impl::MakeLineVertices(aLine, transform);
    std::memcpy(mapped, vertices.data(), sizeof(vertices));
    context->Unmap(myVertexBuffer);

    const std::array<Platform::Gfx::BufferPtr, 1> buffers{myVertexBuffer};
    const std::array<std::uint32_t, 1> strides{LINE_VERTEX_STRIDE};
    const std::array<std::uint32_t, 1> offsets{0};
    context->IASetVertexBuffers(0, buffers, strides, offsets);
    Engine::CountDrawCall();
    ++myDrawnLineCount;
    context->Draw(2, 0);
}
} // namespace Qel
