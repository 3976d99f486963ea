// The shader the sprite drawer binds for each batch: the sprite corner vertex shader and a textured,
// vertex-coloured pixel shader, with the sprite corner input layout, the four sprite textures (colour,
// normal, material, fx at pixel registers 1 to 4, each with its default) and an optional block of custom
// constants. A shader supplied through a batch's shared data may fill the constants and extra textures;
// the engine never does. Main thread.
#pragma once

#include "Platform/Gfx/Buffer.h"
#include "vek/Math/Vector4.h"
#include "vek/graphics/Shader.h"

#include <array>
#include <cstdint>

namespace Qel
{
class Texture;
struct SpriteSharedData;

class SpriteShader : public Shader
{
public:
    static constexpr std::uint32_t CUSTOM_CONSTANT_COUNT = 8;
    static constexpr std::uint32_t CONSTANT_BUFFER_BYTES = 1024;

    using Shader::Init;
    // Loads the pair, makes the constant buffer and takes the three default textures (sRGB).
    bool Init(const char* aVertexShaderName, const char* aPixelShaderName);
    bool CreateInputLayout(const std::string& aBytecode) override;
    // Binds the shader, the batch's textures and the custom constants. False when the bind or the
    // constants' map fails.
    bool RenderBind(const SpriteSharedData& aSharedData);

    struct ExtraTexture
    {
        const Texture* texture = nullptr;
        std::uint8_t pixelRegister = 0;
    };

protected:
    std::array<const Texture*, 3> myDefaultTextures{};
    std::array<Vector4<float>, CUSTOM_CONSTANT_COUNT> myCustomConstants{};
    int myLastUsedCustomConstant = -1;
    int myExtraTextureCount = 0;
    Platform::Gfx::BufferPtr myConstantBuffer;
    std::uint8_t myConstantBufferRegister = 5;
    std::array<ExtraTexture, 2> myExtraTextures{};
};
} // namespace Qel
