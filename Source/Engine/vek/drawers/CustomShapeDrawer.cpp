#include "vek/drawers/CustomShapeDrawer.h"

#include <array>

namespace Qel
{
namespace
{
const std::array<Platform::Gfx::InputElementDesc, 3> SHAPE_LAYOUT{{
    {"POSITION", 0, Platform::Gfx::Format::R32G32B32_FLOAT, 0, Platform::Gfx::APPEND_ALIGNED_ELEMENT,
     Platform::Gfx::InputClassification::PerVertex, 0},
    {"TEXCOORD", 0, Platform::Gfx::Format::R32G32B32A32_FLOAT, 0, Platform::Gfx::APPEND_ALIGNED_ELEMENT,
     Platform::Gfx::InputClassification::PerVertex, 0},
    {"TEXCOORD", 1, Platform::Gfx::Format::R32G32_FLOAT, 0, Platform::Gfx::APPEND_ALIGNED_ELEMENT,
     Platform::Gfx::InputClassification::PerVertex, 0},
}};
} // namespace

CustomShapeDrawer::~CustomShapeDrawer() = default;

bool CustomShapeDrawer::Init()
{
    myMaxVertexCount = MAX_VERTEX_COUNT;
    myConstantBuffer = impl::CreateDynamicBuffer(CONSTANT_BUFFER_SIZE, Platform::Gfx::BIND_CONSTANT_BUFFER);
    if (myConstantBuffer == nullptr)
    {
        return false;
    }
    Shader::Init("shaders/custom_shape_VS", "shaders/custom_shape_PS", {});
    myVertexBuffer =
        impl::CreateDynamicBuffer(myMaxVertexCount * static_cast<std::uint32_t>(sizeof(CustomShapeVertex)),
                                  Platform::Gfx::BIND_VERTEX_BUFFER);
    return true;
}

bool CustomShapeDrawer::CreateInputLayout(const std::string& aVertexShaderBytecode)
{
    myInputLayout = impl::CreateLayout(SHAPE_LAYOUT, aVertexShaderBytecode);
    return myInputLayout != nullptr;
}
} // namespace Qel
