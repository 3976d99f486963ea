#include "vek/drawers/ModelShader.h"

#include "vek/Core/Engine.h"
#include "vek/drawers/DrawerResources.h"
#include "vek/drawers/ViewCulling.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsStateStack.h"
#include "vek/graphics/Texture.h"

#include <array>
#include <cstring>

namespace Qel
{
namespace
{
using namespace Platform::Gfx;

static_assert(sizeof(BonePalette) == 8192, "the bone buffer holds 128 matrices");
static_assert(sizeof(Matrix4x4) == 64, "the object buffer holds one matrix");

// Maps a dynamic buffer, lets aWrite fill it (or not), unmaps it. False when the map fails.
template <typename Write>
bool WriteBuffer(Context& aContext, const BufferPtr& aBuffer, Write aWrite)
{
    void* target = aContext.Map(aBuffer);
    if (target == nullptr)
    {
        return false;
    }
    aWrite(target);
    aContext.Unmap(aBuffer);
    return true;
}
} // namespace

bool ModelShader::Init()
{
    return InitWithPaths("shaders/model_shader_VS", "shaders/model_shader_PS");
}

bool ModelShader::InitWithPaths(const char* aVertexShaderName, const char* aPixelShaderName)
{
    // A missing buffer only shows as a failed map at draw time.
    myBoneBuffer = impl::CreateDynamicBuffer(sizeof(BonePalette), BIND_CONSTANT_BUFFER);
    myObjectBuffer = impl::CreateDynamicBuffer(sizeof(Matrix4x4), BIND_CONSTANT_BUFFER);
    const bool isInitialized = Shader::Init(aVertexShaderName, aPixelShaderName, {});
    myFullPixelShader = myPixelShader;
    myOpaquePixelShader =
        isInitialized ? DX11::GetPixelShader((myPixelShaderPath + "_opaque").c_str()) : nullptr;
    return isInitialized;
}

bool ModelShader::IsFromLiveDevice() const
{
    const auto isLive = [](const auto* anEntry)
    {
        return anEntry == nullptr || anEntry->shader == nullptr || anEntry->shader->IsFromLiveDevice();
    };
    return (myObjectBuffer == nullptr || myObjectBuffer->IsFromLiveDevice()) && isLive(myVertexShader) &&
           isLive(myFullPixelShader) && isLive(myOpaquePixelShader);
}

bool ModelShader::CreateInputLayout(const std::string& aBytecode)
{
    constexpr auto VERTEX = InputClassification::PerVertex;
    constexpr std::uint32_t APPEND = APPEND_ALIGNED_ELEMENT;
    const std::array<InputElementDesc, 14> layout = {{
        {"POSITION", 0, Format::R32G32B32A32_FLOAT, 0, 0, VERTEX, 0},
        {"COLOR", 0, Format::R32G32B32A32_FLOAT, 0, APPEND, VERTEX, 0},
        {"COLOR", 1, Format::R32G32B32A32_FLOAT, 0, APPEND, VERTEX, 0},
        {"COLOR", 2, Format::R32G32B32A32_FLOAT, 0, APPEND, VERTEX, 0},
        {"COLOR", 3, Format::R32G32B32A32_FLOAT, 0, APPEND, VERTEX, 0},
        {"TEXCOORD", 0, Format::R32G32_FLOAT, 0, APPEND, VERTEX, 0},
        {"TEXCOORD", 1, Format::R32G32_FLOAT, 0, APPEND, VERTEX, 0},
        {"TEXCOORD", 2, Format::R32G32_FLOAT, 0, APPEND, VERTEX, 0},
        {"TEXCOORD", 3, Format::R32G32_FLOAT, 0, APPEND, VERTEX, 0},
        {"NORMAL", 0, Format::R32G32B32_FLOAT, 0, APPEND, VERTEX, 0},
        {"TANGENT", 0, Format::R32G32B32_FLOAT, 0, APPEND, VERTEX, 0},
        {"BINORMAL", 0, Format::R32G32B32_FLOAT, 0, APPEND, VERTEX, 0},
        {"BONES", 0, Format::R32G32B32A32_FLOAT, 0, APPEND, VERTEX, 0},
        {"WEIGHTS", 0, Format::R32G32B32A32_FLOAT, 0, APPEND, VERTEX, 0},
    }};
    myInputLayout = impl::CreateLayout(layout, aBytecode);
    return true;
}

void ModelShader::Render(const MeshTextures& aTextures, const MeshData& aMesh, const Matrix4x4& aTransform,
                         const BonePalette* aBones)
{
    Context* context = DX11::GetContext();
    if (context == nullptr)
    {
        return;
    }
    std::array<ShaderResourceViewPtr, 4> views;
    std::size_t viewCount = 0;
    for (const Texture* texture :
         {aTextures.myAlbedo, aTextures.myNormal, aTextures.myMaterial, aTextures.myFx})
    {
        if (texture == nullptr)
        {
            break;
        }
        views[viewCount++] = texture->myView;
    }
    context->PSSetShaderResources(FIRST_TEXTURE_REGISTER, std::span(views.data(), viewCount));
    if (!IsInitialized())
    {
        return;
    }
    const GraphicsStateStack* stack = GraphicsStateStack::GetActive();
    const bool isOpaque =
        myOpaquePixelShader != nullptr && stack != nullptr && stack->IsOpaqueUnderWhiteAmbient();
    myPixelShader = isOpaque ? myOpaquePixelShader : myFullPixelShader;
    Bind();

    const Matrix4x4 object = stack != nullptr ? aTransform * stack->GetTransform() : aTransform;
    // Off-screen meshes are left out before anything is sent: on a software device the vertex stage
    // runs on this thread, and most of a level's skinned characters stand outside the view.
    if (stack != nullptr && !ViewCuller(stack->GetCamera()).IsVisible(aMesh.myBounds, object, aBones))
    {
        return;
    }
    // A static draw leaves the palette as it was, so it is not sent again for nothing.
    const bool bonesWritten =
        aBones == nullptr ? myBoneBuffer != nullptr
                          : WriteBuffer(*context, myBoneBuffer,
                                        [aBones](void* aTarget)
                                        { std::memcpy(aTarget, aBones->data(), sizeof(BonePalette)); });
    if (!bonesWritten)
    {
        return;
    }
    context->VSSetConstantBuffers(BONE_BUFFER_REGISTER, std::span(&myBoneBuffer, 1));

    const bool objectWritten =
        WriteBuffer(*context, myObjectBuffer,
                    [&object](void* aTarget) { std::memcpy(aTarget, object.GetData(), sizeof(Matrix4x4)); });
    if (!objectWritten)
    {
        return;
    }
    context->VSSetConstantBuffers(OBJECT_BUFFER_REGISTER, std::span(&myObjectBuffer, 1));
    context->PSSetConstantBuffers(OBJECT_BUFFER_REGISTER, std::span(&myObjectBuffer, 1));

    if (aMesh.myVertexBuffer == nullptr || aMesh.myIndexBuffer == nullptr)
    {
        return;
    }
    context->IASetIndexBuffer(aMesh.myIndexBuffer, Format::R32_UINT, 0);
    const std::uint32_t stride = aMesh.myStride;
    const std::uint32_t offset = 0;
    context->IASetVertexBuffers(0, std::span(&aMesh.myVertexBuffer, 1), std::span(&stride, 1),
                                std::span(&offset, 1));
    Engine::CountDrawCall();
    context->DrawIndexed(aMesh.myIndexCount, 0, 0);
}
} // namespace Qel
