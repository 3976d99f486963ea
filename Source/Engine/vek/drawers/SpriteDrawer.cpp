#include "vek/drawers/SpriteDrawer.h"

#include "vek/Core/Assert.h"
#include "vek/Core/Engine.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsStateStack.h"
#include "vek/graphics/TextureManager.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <span>
#include <tuple>

namespace Qel
{
namespace
{
using namespace Platform::Gfx;

constexpr std::uint64_t BATCH_SIZE = SpriteDrawer::BATCH_SIZE;
constexpr std::uint32_t CORNERS_PER_SPRITE = 4;
constexpr std::uint32_t INDICES_PER_SPRITE = 6;
constexpr std::uint32_t VERTEX_STRIDE = sizeof(SpriteVertex);

// Sprites drawn together mostly share a few tints, and each conversion costs three powers: recent
// tints keep their linear values, exactly as converted.
Color ToLinear(const Color& aColor)
{
    struct Entry
    {
        std::array<std::uint32_t, 3> bits{};
        Color linear;
        bool isSet = false;
    };
    thread_local std::array<Entry, 32> recent{};
    const std::array<std::uint32_t, 3> bits = {std::bit_cast<std::uint32_t>(aColor.r),
                                               std::bit_cast<std::uint32_t>(aColor.g),
                                               std::bit_cast<std::uint32_t>(aColor.b)};
    const std::uint32_t hash = bits[0] * 73856093u ^ bits[1] * 19349663u ^ bits[2] * 83492791u;
    Entry& entry = recent[hash >> 27];
    if (!entry.isSet || entry.bits != bits)
    {
        entry = {bits, aColor.AsLinear(), true};
    }
    return {entry.linear.r, entry.linear.g, entry.linear.b, aColor.a};
}

void FillUvRect(float someRect[4], const Vector2<float>& aStart, const Vector2<float>& anEnd)
{
    someRect[0] = aStart.x;
    someRect[1] = anEnd.y;
    someRect[2] = anEnd.x;
    someRect[3] = aStart.y;
}

BufferPtr MakeVertexBuffer(Device& aDevice)
{
    BufferDesc desc;
    desc.byteWidth = static_cast<std::uint32_t>(BATCH_SIZE * CORNERS_PER_SPRITE * VERTEX_STRIDE);
    desc.usage = Usage::Dynamic;
    desc.bindFlags = BIND_VERTEX_BUFFER;
    desc.cpuAccessFlags = CPU_ACCESS_WRITE;
    return aDevice.CreateBuffer(desc);
}

// The unit quad spans x 0..1 and y -1..0; its corners in the order (0, -1), (0, 0), (1, -1), (1, 0)
// make the triangles (0, 1, 2) and (3, 2, 1).
constexpr float CORNERS[CORNERS_PER_SPRITE][2] = {{0, -1}, {0, 0}, {1, -1}, {1, 0}};

BufferPtr MakeIndexBuffer(Device& aDevice)
{
    constexpr std::uint32_t PATTERN[INDICES_PER_SPRITE] = {0, 1, 2, 3, 2, 1};
    std::vector<std::uint32_t> indices;
    indices.reserve(BATCH_SIZE * INDICES_PER_SPRITE);
    for (std::uint32_t sprite = 0; sprite < BATCH_SIZE; ++sprite)
    {
        for (const std::uint32_t corner : PATTERN)
        {
            indices.push_back(sprite * CORNERS_PER_SPRITE + corner);
        }
    }
    BufferDesc desc;
    desc.byteWidth = static_cast<std::uint32_t>(indices.size() * sizeof(std::uint32_t));
    desc.usage = Usage::Immutable;
    desc.bindFlags = BIND_INDEX_BUFFER;
    return aDevice.CreateBuffer(desc, indices.data());
}

// The pivot and size move and stretch the unit quad before the world rows place it. The top edge (y 0)
// takes the texture's start row.
void WriteCorners(const SpriteGpuInstance& anInstance, SpriteVertex* someCorners)
{
    const float* world = anInstance.world.GetData();
    const float* pivotAndSize = anInstance.pivotAndSize;
    const float* uvRect = anInstance.uvRect;
    for (std::uint32_t index = 0; index < CORNERS_PER_SPRITE; ++index)
    {
        const float x = (CORNERS[index][0] - pivotAndSize[0]) * pivotAndSize[2];
        const float y = (CORNERS[index][1] + pivotAndSize[1]) * pivotAndSize[3];
        SpriteVertex& corner = someCorners[index];
        for (int column = 0; column < 4; ++column)
        {
            corner.position[column] = x * world[column] + y * world[4 + column] + world[12 + column];
        }
        corner.color = anInstance.color;
        corner.uv[0] = CORNERS[index][0] == 0 ? uvRect[0] : uvRect[2];
        corner.uv[1] = CORNERS[index][1] == 0 ? uvRect[3] : uvRect[1];
    }
}
} // namespace

SpriteGpuInstance SpriteDrawer::MakeInstance(const Sprite2DInstanceData& anInstance,
                                             const Matrix4x4& aTransform)
{
    // Most sprites are upright, and the cosine and sine of 0 are exactly 1 and 0.
    const bool isTurned = anInstance.rotation != 0.0f;
    const float c = isTurned ? std::cos(anInstance.rotation) : 1.0f;
    const float s = isTurned ? std::sin(anInstance.rotation) : 0.0f;
    const float w = anInstance.size.x * anInstance.scale.x;
    const float h = anInstance.size.y * anInstance.scale.y;
    const float px = anInstance.pivot.x;
    const float py = anInstance.pivot.y;
    // The local rows are (c w, s w, 0, 0), (-s h, c h, 0, 0), (0, 0, 1, 0) and (x, y, 0, 1); their
    // product with the transform is taken row by row without the terms that are zero.
    const float x = anInstance.position.x - c * w * px - s * h * py;
    const float y = anInstance.position.y - s * w * px + c * h * py;
    const float* t = aTransform.GetData();
    SpriteGpuInstance gpu{};
    float* world = gpu.world.GetData();
    for (int column = 0; column < 4; ++column)
    {
        world[column] = c * w * t[column] + s * w * t[4 + column];
        world[4 + column] = -s * h * t[column] + c * h * t[4 + column];
        world[8 + column] = t[8 + column];
        world[12 + column] = (x * t[column] + y * t[4 + column]) + t[12 + column];
    }
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
    myVertexBuffer = MakeVertexBuffer(*device);
    if (myVertexBuffer == nullptr)
    {
        return;
    }
    myDefaultShader = std::make_unique<SpriteShader>();
    const bool isShaderReady = myDefaultShader->Init("shaders/instanced_sprite_shader_VS",
                                                     "shaders/model_shader_vertex_color_textured_PS");
    auto flatColorShader = std::make_unique<SpriteShader>();
    if (flatColorShader->Init("shaders/instanced_sprite_shader_VS", "shaders/sprite_flat_color_PS"))
    {
        myFlatColorShader = std::move(flatColorShader);
    }
    myIndexBuffer = MakeIndexBuffer(*device);
    myIsLoaded = isShaderReady && myIndexBuffer != nullptr;
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
    if (ChooseShader(aSharedData).RenderBind(aSharedData))
    {
        Context* context = DX11::GetContext();
        const std::uint32_t stride = VERTEX_STRIDE;
        const std::uint32_t offset = 0;
        context->IASetVertexBuffers(0, std::span(&myVertexBuffer, 1), std::span(&stride, 1),
                                    std::span(&offset, 1));
        context->IASetIndexBuffer(myIndexBuffer, Format::R32_UINT, 0);
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

SpriteShader& SpriteDrawer::ChooseShader(const SpriteSharedData& aSharedData) const
{
    if (aSharedData.shader != nullptr)
    {
        return *aSharedData.shader;
    }
    // A sampled white square only costs pixel time on a software rasteriser.
    const TextureManager* textures = TextureManager::GetActive();
    const bool isWhite = aSharedData.texture == nullptr ||
                         (textures != nullptr && aSharedData.texture == textures->GetWhiteSquare());
    return isWhite && myFlatColorShader != nullptr ? *myFlatColorShader : *myDefaultShader;
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
    : mySpriteDrawer(anOther.mySpriteDrawer), myMappedVertices(anOther.myMappedVertices),
      myInstanceCount(anOther.myInstanceCount)
{
    anOther.mySpriteDrawer = nullptr;
    anOther.myMappedVertices = nullptr;
    anOther.myInstanceCount = 0;
}

SpriteBatchScope& SpriteBatchScope::operator=(SpriteBatchScope&& anOther) noexcept
{
    if (this != &anOther)
    {
        End();
        mySpriteDrawer = anOther.mySpriteDrawer;
        myMappedVertices = anOther.myMappedVertices;
        myInstanceCount = anOther.myInstanceCount;
        anOther.mySpriteDrawer = nullptr;
        anOther.myMappedVertices = nullptr;
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
    myMappedVertices = static_cast<SpriteVertex*>(DX11::GetContext()->Map(mySpriteDrawer->myVertexBuffer));
    return myMappedVertices != nullptr;
}

void SpriteBatchScope::UnMapAndRender()
{
    QEL_ASSERT(mySpriteDrawer);
    // A buffer whose map failed holds nothing of this batch: drawing it would show stale instances.
    if (mySpriteDrawer == nullptr || myMappedVertices == nullptr)
    {
        return;
    }
    Context* context = DX11::GetContext();
    const auto count = static_cast<std::uint32_t>(myInstanceCount);
    context->Unmap(mySpriteDrawer->myVertexBuffer, count * CORNERS_PER_SPRITE * VERTEX_STRIDE);
    Engine::CountDrawCall();
    context->DrawIndexed(count * INDICES_PER_SPRITE, 0, 0);
    myMappedVertices = nullptr;
    myInstanceCount = 0;
}

void SpriteBatchScope::Append(const SpriteGpuInstance& anInstance)
{
    WriteCorners(anInstance, myMappedVertices + myInstanceCount * CORNERS_PER_SPRITE);
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
    for (std::size_t index = 0; index < aCount && myMappedVertices != nullptr && mySpriteDrawer != nullptr;
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
