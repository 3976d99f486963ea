// The custom-shape drawer: the custom-shape shaders, a large dynamic buffer of coloured, textured
// vertices and a 64-byte constant buffer, ready for use. It defines no drawing of its own. Owned by the
// graphics engine. Main thread.
#pragma once

#include "Platform/Gfx/Buffer.h"
#include "vek/drawers/DrawerResources.h"
#include "vek/graphics/Shader.h"

#include <cstdint>
#include <string>

namespace Qel
{
// Position, colour, texture coordinate: 36 bytes.
struct CustomShapeVertex
{
    float position[3];
    float color[4];
    float uv[2];
};
static_assert(sizeof(CustomShapeVertex) == 36);

class CustomShapeDrawer : public Shader
{
public:
    static constexpr std::uint32_t MAX_VERTEX_COUNT = 69984;
    static constexpr std::uint32_t CONSTANT_BUFFER_SIZE = 64;

    CustomShapeDrawer() = default;
    ~CustomShapeDrawer() override;

    // False only when the constant buffer cannot be made; missing shaders leave the drawer unbindable.
    bool Init() override;
    bool CreateInputLayout(const std::string& aVertexShaderBytecode) override;

    std::uint32_t GetMaxVertexCount() const { return myMaxVertexCount; }
    const Platform::Gfx::BufferPtr& GetVertexBuffer() const { return myVertexBuffer; }
    const Platform::Gfx::BufferPtr& GetConstantBuffer() const { return myConstantBuffer; }

private:
    Platform::Gfx::BufferPtr myVertexBuffer;
    Platform::Gfx::BufferPtr myConstantBuffer;
    std::uint32_t myMaxVertexCount = 0;
};
} // namespace Qel
