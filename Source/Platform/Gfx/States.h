// The fixed-function state objects: blend, depth-stencil, rasterizer and sampler. Descriptions are
// plain values with the defaults of the object model the engine was written for; the objects are
// immutable once made and are applied by the context. Samplers own a GL sampler object, made on the
// main thread at first bind. Made on any thread.
#pragma once

#include "Platform/Gfx/DeviceCore.h"

#include <cstdint>
#include <limits>
#include <memory>

namespace Platform::Gfx
{
enum class BlendFactor
{
    Zero,
    One,
    SrcColor,
    InvSrcColor,
    SrcAlpha,
    InvSrcAlpha,
    DestAlpha,
    InvDestAlpha,
    DestColor,
    InvDestColor,
};

enum class BlendOp
{
    Add,
    Subtract,
    RevSubtract,
    Min,
    Max,
};

enum ColorWriteMask : std::uint8_t
{
    COLOR_WRITE_ENABLE_ALL = 0xF,
};

// Render target 0 only; alpha to coverage and independent blending are not offered.
struct BlendDesc
{
    bool blendEnable = false;
    BlendFactor srcBlend = BlendFactor::One;
    BlendFactor destBlend = BlendFactor::Zero;
    BlendOp blendOp = BlendOp::Add;
    BlendFactor srcBlendAlpha = BlendFactor::One;
    BlendFactor destBlendAlpha = BlendFactor::Zero;
    BlendOp blendOpAlpha = BlendOp::Add;
    std::uint8_t writeMask = COLOR_WRITE_ENABLE_ALL;
};

enum class Comparison
{
    Never,
    Less,
    Equal,
    LessEqual,
    Greater,
    NotEqual,
    GreaterEqual,
    Always,
};

// Stencil is not offered: the depth formats have no stencil plane.
struct DepthStencilDesc
{
    bool depthEnable = true;
    bool depthWrite = true;
    Comparison depthFunc = Comparison::Less;
};

enum class FillMode
{
    Solid,
    Wireframe,
};

enum class CullMode
{
    None,
    Front,
    Back,
};

struct RasterizerDesc
{
    FillMode fillMode = FillMode::Solid;
    CullMode cullMode = CullMode::Back;
    bool frontCounterClockwise = false;
    bool depthClipEnable = true;
    bool scissorEnable = false;
    // There is one sample per pixel, so this changes nothing; it is kept for the description's sake.
    bool multisampleEnable = false;
};

enum class Filter
{
    MinMagMipPoint,
    MinMagLinearMipPoint,
    MinMagMipLinear,
};

enum class AddressMode
{
    Clamp,
    Wrap,
    Mirror,
};

struct SamplerDesc
{
    Filter filter = Filter::MinMagMipLinear;
    AddressMode addressU = AddressMode::Clamp;
    AddressMode addressV = AddressMode::Clamp;
    AddressMode addressW = AddressMode::Clamp;
    float mipLodBias = 0.0f;
    // Ignored for these filters, as on the platform the engine was written for: GL would apply it.
    std::uint32_t maxAnisotropy = 1;
    float minLod = 0.0f;
    float maxLod = std::numeric_limits<float>::max();
};

class BlendState
{
public:
    explicit BlendState(const BlendDesc& aDesc) : myDesc(aDesc) {}
    const BlendDesc& GetDesc() const { return myDesc; }

private:
    BlendDesc myDesc;
};

class DepthStencilState
{
public:
    explicit DepthStencilState(const DepthStencilDesc& aDesc) : myDesc(aDesc) {}
    const DepthStencilDesc& GetDesc() const { return myDesc; }

private:
    DepthStencilDesc myDesc;
};

class RasterizerState
{
public:
    explicit RasterizerState(const RasterizerDesc& aDesc) : myDesc(aDesc) {}
    const RasterizerDesc& GetDesc() const { return myDesc; }

private:
    RasterizerDesc myDesc;
};

class SamplerState
{
public:
    SamplerState(DeviceCorePtr aCore, const SamplerDesc& aDesc) : myCore(std::move(aCore)), myDesc(aDesc) {}
    ~SamplerState();
    SamplerState(const SamplerState&) = delete;
    SamplerState& operator=(const SamplerState&) = delete;

    const SamplerDesc& GetDesc() const { return myDesc; }
    // Main thread: the GL sampler, made on first use.
    unsigned int Realise();

private:
    DeviceCorePtr myCore;
    SamplerDesc myDesc;
    unsigned int myName = 0;
};

using BlendStatePtr = std::shared_ptr<const BlendState>;
using DepthStencilStatePtr = std::shared_ptr<const DepthStencilState>;
using RasterizerStatePtr = std::shared_ptr<const RasterizerState>;
using SamplerStatePtr = std::shared_ptr<SamplerState>;

namespace impl
{
// GL applications of the descriptions; main thread.
void ApplyBlend(const BlendDesc& aDesc);
void ApplyDepthStencil(const DepthStencilDesc& aDesc);
void ApplyRasterizer(const RasterizerDesc& aDesc);
} // namespace impl
} // namespace Platform::Gfx
