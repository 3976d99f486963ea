// The render-state stack: the pipeline state every draw runs under. Callers change the top state through
// setters, save and restore it with Push and Pop, and every shader bind calls UpdateGpuStates, which
// sends only what differs from what was sent last: the state indices by value, the constant-buffer
// groups (alpha test, lights, camera, fog) by stamp. The stack owns the state objects and the five
// constant buffers, bound at b0 frame, b1 camera, b2 lights, b3 alpha test and b6 fog in both stages;
// the ambient cube map goes to pixel slot 0.
//
// Owned by the graphics engine; the engine resets it at the start of every frame. Main thread only.
// Shaders reach the initialised stack through GetActive.
#pragma once

#include "Platform/Gfx/Buffer.h"
#include "Platform/Gfx/States.h"
#include "vek/graphics/RenderState.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Qel
{
class TextureManager;

class GraphicsStateStack
{
public:
    static constexpr std::size_t SAMPLER_COUNT = 9;

    // How often each kind of state reached the GPU; what "sent only when changed" is measured by.
    struct SendCounts
    {
        std::uint32_t blend = 0;
        std::uint32_t depth = 0;
        std::uint32_t rasterizer = 0;
        std::uint32_t sampler = 0;
        std::uint32_t alphaTest = 0;
        std::uint32_t lights = 0;
        std::uint32_t camera = 0;
        std::uint32_t fog = 0;
        std::uint32_t frame = 0;
        std::uint32_t bindings = 0;
    };

    GraphicsStateStack() = default;
    ~GraphicsStateStack();
    GraphicsStateStack(const GraphicsStateStack&) = delete;
    GraphicsStateStack& operator=(const GraphicsStateStack&) = delete;

    // Creates the state objects and buffers, leaves one state, takes the two cube maps from the
    // texture manager and applies the default state. False when the device is missing or a creation
    // fails.
    bool Init(TextureManager& aTextures);

    void Push();
    // The last state is never removed.
    void Pop();
    // Start of a frame: exactly one state must be left (a leftover push is reported and cut off), the
    // frame constants are written and the default state is applied, every buffer bound.
    void ResetForFrame();
    void UpdateGpuStates(bool aForce);

    void SetBlendState(int aMode) { Top().blendMode = aMode; }
    void SetDepthStencilState(int aMode) { Top().depthMode = aMode; }
    void SetRasterizerState(int aMode) { Top().rasterizerMode = aMode; }
    void SetSamplerState(int aFilter, int anAddressMode);
    void SetAlphaTestThreshold(float aThreshold);
    void ClearPointLights();
    void SetDirectionalLight(const DirectionalLight& aLight);
    void SetAmbientLight(const AmbientLight& anAmbient);
    void SetCamera(const Camera& aCamera);
    void SetDefault2DCamera();
    void SetFog(const Fog& aFog);
    // The transform's fourth row moves by t in the transform's own frame.
    void Translate(const Vector3<float>& aTranslation);
    // Rows 1 to 3 of the transform are multiplied by s.
    void Scale(float aScale);

    const Camera& GetCamera() const { return myRenderStateStack.back().camera; }
    const Matrix4x4& GetTransform() const { return myRenderStateStack.back().transform; }
    const RenderState& GetTop() const { return myRenderStateStack.back(); }
    std::size_t GetDepth() const { return myRenderStateStack.size(); }
    const SendCounts& GetSendCounts() const { return mySendCounts; }
    // True when the top state tests no alpha and lights with the white ambient cube map, so a model
    // draw may use its shader's variant without discard and cube fetch.
    bool IsOpaqueUnderWhiteAmbient() const;

    // The world-to-view matrix of a camera transform made of a rotation and a translation.
    static Matrix4x4 MakeWorldToView(const Matrix4x4& aTransform);
    // The pixel-space camera over a target of this size: origin bottom left, y up.
    static Camera MakePixelCamera(float aWidth, float aHeight);

    static GraphicsStateStack* GetActive() { return ourActive; }

private:
    RenderState& Top() { return myRenderStateStack.back(); }
    void ResetGpuStates();
    bool SendAlphaTest(const RenderState& aState);
    bool SendCamera(const RenderState& aState);
    bool SendLights(const RenderState& aState);
    bool SendFog(const RenderState& aState);
    void BindConstantBuffers();

    RenderState myLastApplied;
    std::vector<RenderState> myRenderStateStack{RenderState{}};
    std::uint32_t myAlphaTestCounter = 0;
    std::uint32_t myLightCounter = 0;
    std::uint32_t myCameraCounter = 0;
    std::uint32_t myFogCounter = 0;

    std::array<Platform::Gfx::SamplerStatePtr, SAMPLER_COUNT> mySamplers;
    std::array<Platform::Gfx::DepthStencilStatePtr, 4> myDepthStates;
    // Entry 0 stays null: the device's default state.
    std::array<Platform::Gfx::RasterizerStatePtr, 4> myRasterizerStates;
    std::array<Platform::Gfx::BlendStatePtr, 3> myBlendStates;
    Platform::Gfx::BufferPtr myAlphaTestBuffer;
    Platform::Gfx::BufferPtr myFrameBuffer;
    Platform::Gfx::BufferPtr myCameraBuffer;
    Platform::Gfx::BufferPtr myLightBuffer;
    Platform::Gfx::BufferPtr myFogBuffer;
    const Texture* myWhiteCubeMap = nullptr;
    const Texture* myHorizonCubeMap = nullptr;
    SendCounts mySendCounts;

    static GraphicsStateStack* ourActive;
};
} // namespace Qel
