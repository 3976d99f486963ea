#include "vek/drawers/SpriteDrawer.h"

#include "vek/Core/Assert.h"
#include "vek/Core/Engine.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsStateStack.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

namespace Qel
{
namespace
{
using namespace Platform::Gfx;

constexpr std::uint64_t BATCH_SIZE = SpriteDrawer::BATCH_SIZE;
constexpr std::uint32_t QUAD_STRIDE = sizeof(SpriteQuadVertex);
constexpr std::uint32_t INSTANCE_STRIDE = sizeof(SpriteGpuInstance);

Color ToLinear(const Color& aColor)
{
    return aColor.AsLinear();
}

void FillUvRect(float someRect[4], const Vector2<float>& aStart, const Vector2<float>& anEnd)
{
    someRect[0] = aStart.x;
    someRect[1] = anEnd.y;
    someRect[2] = anEnd.x;
    someRect[3] = aStart.y;
}

BufferPtr MakeDynamicVertexBuffer(Device& aDevice, std::uint32_t aBytes, const void* aData)
{
    BufferDesc desc;
    desc.byteWidth = aBytes;
    desc.usage = Usage::Dynamic;
    desc.bindFlags = BIND_VERTEX_BUFFER;
    desc.cpuAccessFlags = CPU_ACCESS_WRITE;
    return aDevice.CreateBuffer(desc, aData);
}
} // namespace

SpriteGpuInstance SpriteDrawer::MakeInstance(const Sprite2DInstanceData& anInstance,
                                             const Matrix4x4& aTransform)
{
    const float c = std::cos(anInstance.rotation);
    const float s = std::sin(anInstance.rotation);
    const float w = anInstance.size.x * anInstance.scale.x;
    const float h = anInstance.size.y * anInstance.scale.y;
    const float px = anInstance.pivot.x;
    const float py = anInstance.pivot.y;
    Matrix4x4 local;
    local.SetRow(1, {c * w, s * w, 0.0f, 0.0f});
    local.SetRow(2, {-s * h, c * h, 0.0f, 0.0f});
    local.SetRow(3, {0.0f, 0.0f, 1.0f, 0.0f});
    local.SetRow(4, {anInstance.position.x - c * w * px - s * h * py,
                     anInstance.position.y - s * w * px + c * h * py, 0.0f, 1.0f});
    SpriteGpuInstance gpu{};
    gpu.world = local * aTransform;
    gpu.color = ToLinear(anInstance.color);
    std::copy(std::begin(anInstance.shaderPivotAndSize), std::end(anInstance.shaderPivotAndSize),
              gpu.pivotAndSize);
    FillUvRect(gpu.uvRect, anInstance.uvStart, anInstance.uvEnd);
    return gpu;
}

SpriteGpuInstance SpriteDrawer::MakeInstance(const Sprite3DInstanceData& anInstance,
                                             const Matrix4x4& aTransform)
{
    SpriteGpuInstance gpu{};
    gpu.world = anInstance.transform * aTransform;
    gpu.color = ToLinear(anInstance.color);
    gpu.pivotAndSize[0] = anInstance.pivot.x;
    gpu.pivotAndSize[1] = anInstance.pivot.y;
    gpu.pivotAndSize[2] = anInstance.size.x;
    gpu.pivotAndSize[3] = anInstance.size.y;
    FillUvRect(gpu.uvRect, anInstance.uvStart, anInstance.uvEnd);
    return gpu;
}

SpriteDrawer::~SpriteDrawer() = default;

void SpriteDrawer::Init()
{
    Device* device = DX11::GetDevice();
    if (device == nullptr)
    {
        return;
    }
    myInstanceBuffer =
        MakeDynamicVertexBuffer(*device, static_cast<std::uint32_t>(BATCH_SIZE * INSTANCE_STRIDE), nullptr);
    if (myInstanceBuffer == nullptr)
    {
        return;
    }
    myDefaultShader = std::make_unique<SpriteShader>();
    const bool isShaderReady = myDefaultShader->Init("shaders/instanced_sprite_shader_VS",
                                                     "shaders/model_shader_vertex_color_textured_PS");
    constexpr float CORNERS[6][2] = {{0, -1}, {0, 0}, {1, -1}, {1, 0}, {1, -1}, {0, 0}};
    for (std::uint32_t index = 0; index < 6; ++index)
    {
        myQuadVertices[index] = {{CORNERS[index][0], CORNERS[index][1], 0.0f, 1.0f}, {index, 0, 0, 0}};
    }
    myVertexBuffer = MakeDynamicVertexBuffer(*device, sizeof(myQuadVertices), myQuadVertices);
    myIsLoaded = isShaderReady && myVertexBuffer != nullptr;
}

SpriteBatchScope SpriteDrawer::BeginBatch(const SpriteSharedData& aSharedData)
{
    if (!myIsLoaded)
    {
        QEL_ASSERT(myIsLoaded);
        return {};
    }
    if (myIsInBatch)
    {
        QEL_ASSERT(!myIsInBatch);
        return {};
    }
    myIsInBatch = true;
    SpriteBatchScope scope(*this);
    GraphicsStateStack* stack = GraphicsStateStack::GetActive();
    if (stack != nullptr)
    {
        stack->Push();
        stack->SetSamplerState(1, 0);
        stack->SetBlendState(1);
        stack->SetDepthStencilState(3);
        stack->SetRasterizerState(1);
        stack->SetAlphaTestThreshold(aSharedData.alphaMode == 1 ? aSharedData.alphaTestThreshold : 0.0f);
    }
    SpriteShader* shader = aSharedData.shader != nullptr ? aSharedData.shader : myDefaultShader.get();
    if (shader->RenderBind(aSharedData))
    {
        const std::array<BufferPtr, 2> buffers = {myVertexBuffer, myInstanceBuffer};
        const std::array<std::uint32_t, 2> strides = {QUAD_STRIDE, INSTANCE_STRIDE};
        const std::array<std::uint32_t, 2> offsets = {0, 0};
        DX11::GetContext()->IASetVertexBuffers(0, buffers, strides, offsets);
        if (scope.Map())
        {
            return scope;
        }
    }
    if (stack != nullptr)
    {
        stack->Pop();
    }
    myIsInBatch = false;
    scope.mySpriteDrawer = nullptr;
    return {};
}

void SpriteDrawer::QueueSprite(const SpriteSharedData& aSharedData, const Sprite3DInstanceData& anInstance,
                               std::uint32_t aLayer)
{
    if (!myIsLoaded)
    {
        return;
    }
    auto sprite = std::make_unique<QueuedSprite>();
    sprite->sharedData = aSharedData;
    sprite->instance = anInstance;
    sprite->layer = aLayer;
    sprite->sequence = myQueueSequence++;
    myQueuedSprites.push_back(std::move(sprite));
}

void SpriteDrawer::DrawQueuedSprites()
{
    if (myQueuedSprites.empty())
    {
        return;
    }
    auto sortKey = [](const std::unique_ptr<QueuedSprite>& aSprite)
    {
        const SpriteSharedData& shared = aSprite->sharedData;
        return std::make_tuple(static_cast<std::int32_t>(aSprite->layer), shared.texture, shared.shader,
                               static_cast<std::int32_t>(shared.alphaMode), shared.alphaTestThreshold,
                               aSprite->sequence);
    };
    std::sort(myQueuedSprites.begin(), myQueuedSprites.end(),
              [&sortKey](const auto& aLeft, const auto& aRight)
              {
                  // Pointers are ordered with std::less, which is total even across objects.
                  const auto left = sortKey(aLeft);
                  const auto right = sortKey(aRight);
                  if (std::get<0>(left) != std::get<0>(right))
                  {
                      return std::get<0>(left) < std::get<0>(right);
                  }
                  if (std::get<1>(left) != std::get<1>(right))
                  {
                      return std::less<const Texture*>()(std::get<1>(left), std::get<1>(right));
                  }
                  if (std::get<2>(left) != std::get<2>(right))
                  {
                      return std::less<const SpriteShader*>()(std::get<2>(left), std::get<2>(right));
                  }
                  return std::make_tuple(std::get<3>(left), std::get<4>(left), std::get<5>(left)) <
                         std::make_tuple(std::get<3>(right), std::get<4>(right), std::get<5>(right));
              });
    std::size_t start = 0;
    while (start < myQueuedSprites.size())
    {
        const QueuedSprite& first = *myQueuedSprites[start];
        std::size_t end = start + 1;
        while (end < myQueuedSprites.size())
        {
            const QueuedSprite& next = *myQueuedSprites[end];
            const SpriteSharedData& a = first.sharedData;
            const SpriteSharedData& b = next.sharedData;
            if (next.layer != first.layer || a.texture != b.texture || a.shader != b.shader ||
                a.alphaMode != b.alphaMode || a.alphaTestThreshold != b.alphaTestThreshold ||
                a.normalTexture != b.normalTexture || a.materialTexture != b.materialTexture ||
                a.fxTexture != b.fxTexture)
            {
                break;
            }
            ++end;
        }
        {
            SpriteBatchScope batch = BeginBatch(first.sharedData);
            for (std::size_t index = start; index < end; ++index)
            {
                batch.Draw3D(myQueuedSprites[index]->instance);
            }
        }
        start = end;
    }
    myQueuedSprites.clear();
}

SpriteBatchScope::SpriteBatchScope(SpriteBatchScope&& anOther) noexcept
    : mySpriteDrawer(anOther.mySpriteDrawer), myMappedInstances(anOther.myMappedInstances),
      myInstanceCount(anOther.myInstanceCount)
{
    anOther.mySpriteDrawer = nullptr;
    anOther.myMappedInstances = nullptr;
    anOther.myInstanceCount = 0;
}

SpriteBatchScope& SpriteBatchScope::operator=(SpriteBatchScope&& anOther) noexcept
{
    if (this != &anOther)
    {
        End();
        mySpriteDrawer = anOther.mySpriteDrawer;
        myMappedInstances = anOther.myMappedInstances;
        myInstanceCount = anOther.myInstanceCount;
        anOther.mySpriteDrawer = nullptr;
        anOther.myMappedInstances = nullptr;
        anOther.myInstanceCount = 0;
    }
    return *this;
}

SpriteBatchScope::~SpriteBatchScope()
{
    End();
}

void SpriteBatchScope::End()
{
    if (mySpriteDrawer == nullptr)
    {
        return;
    }
    UnMapAndRender();
    QEL_ASSERT(mySpriteDrawer->myIsInBatch);
    if (GraphicsStateStack* stack = GraphicsStateStack::GetActive())
    {
        stack->Pop();
    }
    mySpriteDrawer->myIsInBatch = false;
    mySpriteDrawer = nullptr;
}

bool SpriteBatchScope::Map()
{
    QEL_ASSERT(mySpriteDrawer);
    QEL_ASSERT(myInstanceCount == 0);
    if (mySpriteDrawer == nullptr)
    {
        return false;
    }
    myMappedInstances =
        static_cast<SpriteGpuInstance*>(DX11::GetContext()->Map(mySpriteDrawer->myInstanceBuffer));
    return myMappedInstances != nullptr;
}

void SpriteBatchScope::UnMapAndRender()
{
    QEL_ASSERT(mySpriteDrawer);
    // A buffer whose map failed holds nothing of this batch: drawing it would show stale instances.
    if (mySpriteDrawer == nullptr || myMappedInstances == nullptr)
    {
        return;
    }
    Context* context = DX11::GetContext();
    context->Unmap(mySpriteDrawer->myInstanceBuffer);
    Engine::CountDrawCall();
    context->DrawInstanced(6, static_cast<std::uint32_t>(myInstanceCount), 0, 0);
    myMappedInstances = nullptr;
    myInstanceCount = 0;
}

void SpriteBatchScope::Append(const SpriteGpuInstance& anInstance)
{
    myMappedInstances[myInstanceCount] = anInstance;
    ++myInstanceCount;
    if (myInstanceCount == BATCH_SIZE)
    {
        UnMapAndRender();
        Map();
    }
}

template <typename Instance>
void SpriteBatchScope::DrawInstances(const Instance* someInstances, std::size_t aCount)
{
    QEL_ASSERT(myInstanceCount < BATCH_SIZE);
    GraphicsStateStack* stack = GraphicsStateStack::GetActive();
    const Matrix4x4 transform = stack != nullptr ? stack->GetTransform() : Matrix4x4();
    for (std::size_t index = 0; index < aCount && myMappedInstances != nullptr && mySpriteDrawer != nullptr;
         ++index)
    {
        if (!someInstances[index].isHidden)
        {
            Append(SpriteDrawer::MakeInstance(someInstances[index], transform));
        }
    }
}

void SpriteBatchScope::Draw2DArray(const Sprite2DInstanceData* someInstances, std::size_t aCount)
{
    DrawInstances(someInstances, aCount);
}

void SpriteBatchScope::Draw3DArray(const Sprite3DInstanceData* someInstances, std::size_t aCount)
{
    DrawInstances(someInstances, aCount);
}
} // namespace Qel
