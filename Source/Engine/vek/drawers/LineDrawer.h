// Draws one coloured line segment per call: the ends are moved on the CPU by the render state's
// transform and sent as a two-vertex line list through a dynamic vertex buffer, one map and one draw
// call per line. Owned by the graphics engine. Main thread.
#pragma once

#include "Platform/Gfx/Buffer.h"
#include "vek/drawers/DrawerResources.h"
#include "vek/drawers/LinePrimitive.h"
#include "vek/graphics/Shader.h"

#include <cstdint>
#include <string>

namespace Qel
{
class LineDrawer : public Shader
{
public:
    // Room for 2000 vertices; each draw uses the first two.
    static constexpr std::uint32_t VERTEX_BUFFER_SIZE = 72000;

    LineDrawer() = default;
    ~LineDrawer() override;

    // The line shaders and the vertex buffer. True even when they are missing: such a drawer then draws
    // nothing.
    bool Init() override;
    bool CreateInputLayout(const std::string& aVertexShaderBytecode) override;

    // Draws the line and counts one draw call. A line whose shader cannot be bound or whose vertices
    // cannot be written is neither drawn nor counted.
    void Draw(const LinePrimitive& aLine);

    std::uint32_t GetDrawnLineCount() const { return myDrawnLineCount; }

private:
    Platform::Gfx::BufferPtr myVertexBuffer;
    std::uint32_t myDrawnLineCount = 0;
};
} // namespace Qel
