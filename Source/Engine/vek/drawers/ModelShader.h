// Draws one mesh of a model: binds the mesh's four textures (albedo, normal, material, fx at pixel
// registers 1 to 4), sends the bone palette (b5, vertex stage) and the object transform under the
// render-state stack's current transform (b4, both stages), and issues one indexed draw of triangle
// lists. One class serves every model shader pair; the pair is chosen by name at Init. Main thread for
// Render; Init may run on any thread.
#pragma once

#include "Platform/Gfx/Buffer.h"
#include "vek/Math/Matrix4x4.h"
#include "vek/graphics/Shader.h"
#include "vek/model/Mesh.h"
#include "vek/model/Pose.h"

#include <cstdint>

namespace Qel
{
class ModelShader : public Shader
{
public:
    static constexpr std::uint32_t OBJECT_BUFFER_REGISTER = 4;
    static constexpr std::uint32_t BONE_BUFFER_REGISTER = 5;
    static constexpr std::uint32_t FIRST_TEXTURE_REGISTER = 1;

    using Shader::Init;
    // The default static pair, "shaders/model_shader_VS" and "shaders/model_shader_PS".
    bool Init() override;
    // Makes both constant buffers, then loads the pair. False when either shader cannot be had. A pixel
    // shader "<name>_opaque" beside it, when there is one, draws instead whenever the render-state stack
    // tests no alpha and lights with the white ambient cube map.
    bool InitWithPaths(const char* aVertexShaderName, const char* aPixelShaderName);
    // The model vertex layout; true whatever the device says, so a shader without a layout still binds.
    bool CreateInputLayout(const std::string& aBytecode) override;
    // False once the device the shader was initialised on has gone (a device made again in one
    // process): its objects draw nothing until it is initialised anew.
    bool IsFromLiveDevice() const;

    // The mesh's textures are bound up to the first null one even when the shader is not initialised;
    // nothing is drawn then, nor when a buffer map fails, the mesh has no GPU buffers or it lies outside
    // the active stack camera's view (then nothing is sent either). aBones is null for static meshes
    // (the bone buffer is left as it was), else a whole palette.
    void Render(const MeshTextures& aTextures, const MeshData& aMesh, const Matrix4x4& aTransform,
                const BonePalette* aBones);

protected:
    Platform::Gfx::BufferPtr myBoneBuffer;
    Platform::Gfx::BufferPtr myObjectBuffer;
    PixelShaderEntry* myFullPixelShader = nullptr;
    PixelShaderEntry* myOpaquePixelShader = nullptr;
};
} // namespace Qel
