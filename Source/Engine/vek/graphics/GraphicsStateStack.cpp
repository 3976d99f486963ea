#include "vek/graphics/GraphicsStateStack.h"

#include "vek/Core/Assert.h"
#include "vek/Core/Engine.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/TextureManager.h"

#include <cstring>

namespace Qel
{
GraphicsStateStack* GraphicsStateStack::ourActive = nullptr;

namespace
{
using namespace Platform::Gfx;

constexpr std::uint32_t FRAME_SLOT = 0;
constexpr std::uint32_t CAMERA_SLOT = 1;
constexpr std::uint32_t LIGHT_SLOT = 2;
constexpr std::uint32_t ALPHA_TEST_SLOT = 3;
constexpr std::uint32_t FOG_SLOT = 6;

// The constant buffers as the shaders read them (std140).
struct FrameConstants
{
    float renderWidth;
    float renderHeight;
    float totalTime;
    float deltaTime;
};
struct CameraConstants
{
    Matrix4x4 worldToView;
    Matrix4x4 viewToWorld;
    Matrix4x4 projection;
    Matrix4x4 inverseProjection;
    float nearPlane;
    float farPlane;
    float padding[2];
};
struct PointLightConstants
{
    float position[3];
    float padding0;
    Color color;
    float range;
    float extra;
    float padding1[2];
};
struct LightConstants
{
    PointLightConstants pointLights[MAX_POINT_LIGHTS];
    std::uint32_t pointLightCount;
    float directionalIntensity;
    float padding[2];
    Color ambientColor;
    Color directionalColor;
    Matrix4x4 directionalTransform;
};
struct AlphaTestConstants
{
    float extra[4];
    float threshold;
    float padding[3];
};
struct FogConstants
{
    Color color;
    float nearDistance;
    float farDistance;
    float padding[2];
};
static_assert(sizeof(FrameConstants) == 16 && sizeof(CameraConstants) == 272 &&
              sizeof(LightConstants) == 496 && sizeof(AlphaTestConstants) == 32 &&
              sizeof(FogConstants) == 32);

BufferPtr MakeConstantBuffer(Device& aDevice, std::uint32_t aBytes)
{
    BufferDesc desc;
    desc.byteWidth = aBytes;
    desc.usage = Usage::Dynamic;
    desc.bindFlags = BIND_CONSTANT_BUFFER;
    desc.cpuAccessFlags = CPU_ACCESS_WRITE;
    return aDevice.CreateBuffer(desc);
}

template <typename T>
bool WriteWhole(const BufferPtr& aBuffer, const T& someConstants)
{
    Context* context = DX11::GetContext();
    void* target = context != nullptr ? context->Map(aBuffer) : nullptr;
    if (target == nullptr)
    {
        return false;
    }
    std::memcpy(target, &someConstants, sizeof(T));
    context->Unmap(aBuffer);
    return true;
}

template <typename T, std::size_t N>
T GetEntry(const std::array<T, N>& someTable, int anIndex)
{
    return anIndex >= 0 && static_cast<std::size_t>(anIndex) < N
               ? someTable[static_cast<std::size_t>(anIndex)]
               : nullptr;
}
} // namespace

GraphicsStateStack::~GraphicsStateStack()
{
    if (ourActive == this)
    {
        ourActive = nullptr;
    }
}

bool GraphicsStateStack::Init(TextureManager& aTextures)
{
    Device* device = DX11::GetDevice();
    if (device == nullptr)
    {
        return false;
    }
    BlendDesc blend;
    myBlendStates[0] = device->CreateBlendState(blend);
    blend.blendEnable = true;
    blend.srcBlend = BlendFactor::SrcAlpha;
    blend.destBlend = BlendFactor::InvSrcAlpha;
    blend.srcBlendAlpha = BlendFactor::One;
    blend.destBlendAlpha = BlendFactor::One;
    blend.blendOpAlpha = BlendOp::Max;
    myBlendStates[1] = device->CreateBlendState(blend);
    blend.destBlend = BlendFactor::One;
    myBlendStates[2] = device->CreateBlendState(blend);

    const std::array<DepthStencilDesc, 4> depths = {{
        {true, true, Comparison::Less},
        {true, true, Comparison::LessEqual},
        {true, false, Comparison::Less},
        {true, false, Comparison::LessEqual},
    }};
    for (std::size_t mode = 0; mode < depths.size(); ++mode)
    {
        myDepthStates[mode] = device->CreateDepthStencilState(depths[mode]);
    }

    RasterizerDesc rasterizer;
    rasterizer.fillMode = FillMode::Wireframe;
    rasterizer.cullMode = CullMode::Back;
    myRasterizerStates[2] = device->CreateRasterizerState(rasterizer);
    rasterizer.cullMode = CullMode::None;
    myRasterizerStates[3] = device->CreateRasterizerState(rasterizer);
    rasterizer.fillMode = FillMode::Solid;
    rasterizer.multisampleEnable = true;
    myRasterizerStates[1] = device->CreateRasterizerState(rasterizer);

    constexpr std::array<Filter, 3> FILTERS = {Filter::MinMagMipPoint, Filter::MinMagLinearMipPoint,
                                               Filter::MinMagMipLinear};
    constexpr std::array<AddressMode, 3> ADDRESSES = {AddressMode::Clamp, AddressMode::Wrap,
                                                      AddressMode::Mirror};
    for (std::size_t index = 0; index < SAMPLER_COUNT; ++index)
    {
        SamplerDesc sampler;
        sampler.filter = FILTERS[index / 3];
        sampler.addressU = sampler.addressV = sampler.addressW = ADDRESSES[index % 3];
        sampler.maxAnisotropy = 16;
        mySamplers[index] = device->CreateSamplerState(sampler);
        if (mySamplers[index] == nullptr)
        {
            return false;
        }
    }

    myAlphaTestBuffer = MakeConstantBuffer(*device, sizeof(AlphaTestConstants));
    myFrameBuffer = MakeConstantBuffer(*device, sizeof(FrameConstants));
    myLightBuffer = MakeConstantBuffer(*device, sizeof(LightConstants));
    myCameraBuffer = MakeConstantBuffer(*device, sizeof(CameraConstants));
    myFogBuffer = MakeConstantBuffer(*device, sizeof(FogConstants));
    if (myAlphaTestBuffer == nullptr || myFrameBuffer == nullptr || myLightBuffer == nullptr ||
        myCameraBuffer == nullptr || myFogBuffer == nullptr)
    {
        return false;
    }

    myRenderStateStack.resize(1);
    myWhiteCubeMap = aTextures.GetTexture("Textures/whiteCubeMap.dds", 0);
    myHorizonCubeMap = aTextures.GetTexture("Textures/horizonCubeMap.dds", 0);
    ourActive = this;
    ResetGpuStates();
    return true;
}

void GraphicsStateStack::Push()
{
    myRenderStateStack.push_back(myRenderStateStack.back());
}

void GraphicsStateStack::Pop()
{
    QEL_ASSERT(myRenderStateStack.size() > 1);
    if (myRenderStateStack.size() > 1)
    {
        myRenderStateStack.pop_back();
    }
}

void GraphicsStateStack::ResetForFrame()
{
    QEL_ASSERT(myRenderStateStack.size() == 1);
    // Leftover states would come back at later pops and pile up frame after frame.
    myRenderStateStack.resize(1);
    const Vector2<int> resolution = DX11::GetResolution();
    const Engine* engine = Engine::GetInstance();
    const FrameConstants frame{static_cast<float>(resolution.x), static_cast<float>(resolution.y),
                               engine != nullptr ? engine->GetTotalTime() : 0.0f,
                               engine != nullptr ? engine->GetDeltaTime() : 0.0f};
    if (!WriteWhole(myFrameBuffer, frame))
    {
        return;
    }
    ++mySendCounts.frame;
    ResetGpuStates();
}

Camera GraphicsStateStack::MakePixelCamera(float aWidth, float aHeight)
{
    Camera camera;
    camera.SetOrthographicProjection(0.0f, aWidth, 0.0f, aHeight, -1.0f, 1.0f);
    return camera;
}

void GraphicsStateStack::ResetGpuStates()
{
    RenderState state;
    const Vector2<int> resolution = DX11::GetResolution();
    state.camera = MakePixelCamera(static_cast<float>(resolution.x), static_cast<float>(resolution.y));
    myAlphaTestCounter = myLightCounter = myCameraCounter = myFogCounter = 0;
    Top() = state;
    UpdateGpuStates(true);
}

void GraphicsStateStack::SetSamplerState(int aFilter, int anAddressMode)
{
    Top().samplerFilter = aFilter;
    Top().samplerAddressMode = anAddressMode;
}

void GraphicsStateStack::SetAlphaTestThreshold(float aThreshold)
{
    Top().alphaTestStamp = ++myAlphaTestCounter;
    Top().alphaTestThreshold = aThreshold;
}

void GraphicsStateStack::ClearPointLights()
{
    Top().lightStamp = ++myLightCounter;
    Top().pointLightCount = 0;
}

void GraphicsStateStack::SetDirectionalLight(const DirectionalLight& aLight)
{
    Top().lightStamp = ++myLightCounter;
    Top().directionalLight = aLight;
}

bool GraphicsStateStack::IsOpaqueUnderWhiteAmbient() const
{
    // Without the white map loaded the pass binds none, and the cube fetch reads black.
    const RenderState& top = GetTop();
    return top.alphaTestThreshold <= 0.0f && top.ambientLight.cubeMapMode == AMBIENT_CUBE_MAP_WHITE &&
           myWhiteCubeMap != nullptr;
}

void GraphicsStateStack::SetAmbientLight(const AmbientLight& anAmbient)
{
    Top().lightStamp = ++myLightCounter;
    Top().ambientLight = anAmbient;
}

void GraphicsStateStack::SetCamera(const Camera& aCamera)
{
    Top().cameraStamp = ++myCameraCounter;
    Top().camera = aCamera;
}

void GraphicsStateStack::SetDefault2DCamera()
{
    const Vector2<int> resolution = DX11::GetResolution();
    SetCamera(MakePixelCamera(static_cast<float>(resolution.x), static_cast<float>(resolution.y)));
}

void GraphicsStateStack::SetFog(const Fog& aFog)
{
    Top().fogStamp = ++myFogCounter;
    Top().fog = aFog;
}

void GraphicsStateStack::Translate(const Vector3<float>& aTranslation)
{
    Matrix4x4& transform = Top().transform;
    const Vector4<float> row1 = transform.GetRow(1);
    const Vector4<float> row2 = transform.GetRow(2);
    const Vector4<float> row3 = transform.GetRow(3);
    const Vector4<float> row4 = transform.GetRow(4);
    transform.SetRow(4,
                     {aTranslation.x * row1.x + aTranslation.y * row2.x + aTranslation.z * row3.x + row4.x,
                      aTranslation.x * row1.y + aTranslation.y * row2.y + aTranslation.z * row3.y + row4.y,
                      aTranslation.x * row1.z + aTranslation.y * row2.z + aTranslation.z * row3.z + row4.z,
                      aTranslation.x * row1.w + aTranslation.y * row2.w + aTranslation.z * row3.w + row4.w});
}

void GraphicsStateStack::Scale(float aScale)
{
    Matrix4x4& transform = Top().transform;
    for (int row = 1; row <= 3; ++row)
    {
        for (int column = 1; column <= 4; ++column)
        {
            transform(row, column) *= aScale;
        }
    }
}

Matrix4x4 GraphicsStateStack::MakeWorldToView(const Matrix4x4& aTransform)
{
    Matrix4x4 result;
    for (int row = 1; row <= 3; ++row)
    {
        for (int column = 1; column <= 3; ++column)
        {
            result(row, column) = aTransform(column, row);
        }
        result(row, 4) = 0.0f;
    }
    for (int column = 1; column <= 3; ++column)
    {
        float dot = 0.0f;
        for (int axis = 1; axis <= 3; ++axis)
        {
            dot += aTransform(4, axis) * aTransform(column, axis);
        }
        result(4, column) = -dot;
    }
    result(4, 4) = aTransform(4, 4);
    return result;
}

bool GraphicsStateStack::SendAlphaTest(const RenderState& aState)
{
    AlphaTestConstants constants{};
    std::memcpy(constants.extra, aState.alphaTestExtra.data(), sizeof(constants.extra));
    constants.threshold = aState.alphaTestThreshold;
    return WriteWhole(myAlphaTestBuffer, constants);
}

bool GraphicsStateStack::SendCamera(const RenderState& aState)
{
    CameraConstants constants{};
    constants.worldToView = MakeWorldToView(aState.camera.GetTransform());
    constants.viewToWorld = aState.camera.GetTransform();
    constants.projection = aState.camera.GetProjection();
    constants.inverseProjection = Matrix4x4::Inverse(aState.camera.GetProjection());
    constants.nearPlane = aState.camera.GetNearPlane();
    constants.farPlane = aState.camera.GetFarPlane();
    return WriteWhole(myCameraBuffer, constants);
}

bool GraphicsStateStack::SendLights(const RenderState& aState)
{
    LightConstants constants{};
    const std::uint32_t count = std::min(aState.pointLightCount, MAX_POINT_LIGHTS);
    for (std::uint32_t index = 0; index < count; ++index)
    {
        const PointLight& light = aState.pointLights[index];
        PointLightConstants& target = constants.pointLights[index];
        target.position[0] = light.position.x;
        target.position[1] = light.position.y;
        target.position[2] = light.position.z;
        target.color = light.color.AsLinear();
        target.range = light.range;
        target.extra = light.extra;
    }
    constants.pointLightCount = count;
    constants.directionalIntensity = aState.directionalLight.intensity;
    constants.ambientColor = aState.ambientLight.color.AsLinear();
    constants.directionalColor = aState.directionalLight.color.AsLinear();
    constants.directionalTransform = aState.directionalLight.transform;
    if (!WriteWhole(myLightBuffer, constants))
    {
        return false;
    }
    const Texture* cubeMap = nullptr;
    switch (aState.ambientLight.cubeMapMode)
    {
    case AMBIENT_CUBE_MAP_WHITE:
        cubeMap = myWhiteCubeMap;
        break;
    case AMBIENT_CUBE_MAP_HORIZON:
        cubeMap = myHorizonCubeMap;
        break;
    case AMBIENT_CUBE_MAP_CUSTOM:
        cubeMap = aState.ambientLight.customCubeMap;
        break;
    default:
        break;
    }
    const ShaderResourceViewPtr view = cubeMap != nullptr ? cubeMap->myView : nullptr;
    DX11::GetContext()->PSSetShaderResources(0, std::span(&view, 1));
    return true;
}

bool GraphicsStateStack::SendFog(const RenderState& aState)
{
    FogConstants constants{};
    constants.color = aState.fog.color;
    constants.nearDistance = aState.fog.nearDistance;
    constants.farDistance = aState.fog.farDistance;
    return WriteWhole(myFogBuffer, constants);
}

void GraphicsStateStack::BindConstantBuffers()
{
    Context* context = DX11::GetContext();
    const std::pair<std::uint32_t, const BufferPtr*> bindings[] = {{FRAME_SLOT, &myFrameBuffer},
                                                                   {CAMERA_SLOT, &myCameraBuffer},
                                                                   {ALPHA_TEST_SLOT, &myAlphaTestBuffer},
                                                                   {LIGHT_SLOT, &myLightBuffer},
                                                                   {FOG_SLOT, &myFogBuffer}};
    for (const auto& [slot, buffer] : bindings)
    {
        context->VSSetConstantBuffers(slot, std::span(buffer, 1));
        context->PSSetConstantBuffers(slot, std::span(buffer, 1));
    }
    ++mySendCounts.bindings;
}

void GraphicsStateStack::UpdateGpuStates(bool aForce)
{
    Context* context = DX11::GetContext();
    if (context == nullptr)
    {
        return;
    }
    const RenderState& top = myRenderStateStack.back();
    const RenderState& last = myLastApplied;
    if (aForce || top.blendMode != last.blendMode)
    {
        context->OMSetBlendState(GetEntry(myBlendStates, top.blendMode));
        ++mySendCounts.blend;
    }
    if (aForce || top.depthMode != last.depthMode)
    {
        context->OMSetDepthStencilState(GetEntry(myDepthStates, top.depthMode), 0);
        ++mySendCounts.depth;
    }
    if (aForce || top.rasterizerMode != last.rasterizerMode)
    {
        context->RSSetState(GetEntry(myRasterizerStates, top.rasterizerMode));
        ++mySendCounts.rasterizer;
    }
    if (aForce || top.samplerFilter != last.samplerFilter ||
        top.samplerAddressMode != last.samplerAddressMode)
    {
        // The one chosen sampler goes to every texture unit: GL samples each unit with its own sampler,
        // where the shaders were written to sample every texture with register s0.
        const bool isValid = top.samplerFilter >= 0 && top.samplerFilter < 3 && top.samplerAddressMode >= 0 &&
                             top.samplerAddressMode < 3;
        const SamplerStatePtr sampler =
            isValid ? mySamplers[static_cast<std::size_t>(top.samplerFilter * 3 + top.samplerAddressMode)]
                    : nullptr;
        std::array<SamplerStatePtr, RESOURCE_SLOTS> units;
        units.fill(sampler);
        context->PSSetSamplers(0, units);
        ++mySendCounts.sampler;
    }
    if (aForce || top.alphaTestStamp != last.alphaTestStamp)
    {
        if (!SendAlphaTest(top))
        {
            return;
        }
        ++mySendCounts.alphaTest;
    }
    if (aForce || top.cameraStamp != last.cameraStamp)
    {
        if (!SendCamera(top))
        {
            return;
        }
        ++mySendCounts.camera;
    }
    if (aForce || top.lightStamp != last.lightStamp)
    {
        if (!SendLights(top))
        {
            return;
        }
        ++mySendCounts.lights;
    }
    if (aForce || top.fogStamp != last.fogStamp)
    {
        if (!SendFog(top))
        {
            return;
        }
        ++mySendCounts.fog;
    }
    if (aForce)
    {
        BindConstantBuffers();
    }
    myLastApplied = top;
}
} // namespace Qel
