// Textured quads, each expanded on the CPU into its four corners in world space: a dynamic vertex
// buffer of up to BATCH_SIZE sprites over a fixed index buffer, drawn with one indexed draw per full or
// finished batch. Corners rather than instances because a software rasteriser runs its vertex pipeline
// once per instance. Immediate use: BeginBatch with the shared data (textures, shader, alpha mode),
// write 2D or 3D instances, and the batch is drawn when its scope ends. Deferred use: QueueSprite during
// the frame with a layer, then DrawQueuedSprites sorts by layer and shared data and draws in as few
// batches as that allows.
//
// Owned by the graphics engine; main thread only. At most one batch is open per drawer.
#pragma once

#include "Platform/Gfx/Buffer.h"
#include "vek/Math/Color.h"
#include "vek/Math/Matrix4x4.h"
#include "vek/Math/Vector2.h"
#include "vek/drawers/SpriteShader.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Qel
{
class Texture;
class SpriteDrawer;

struct SpriteSharedData
{
    // Null binds "WhiteSquare"; the other three null bind the sprite shader's defaults.
    const Texture* texture = nullptr;
    const Texture* normalTexture = nullptr;
    const Texture* materialTexture = nullptr;
    const Texture* fxTexture = nullptr;
    // Null uses the drawer's default sprite shader.
    SpriteShader* shader = nullptr;
    // 1 tests alpha against alphaTestThreshold; any other value draws every pixel.
    std::uint32_t alphaMode = 0;
    float alphaTestThreshold = 0.5f;
};

struct Sprite2DInstanceData
{
    Vector2<float> position;
    Vector2<float> pivot{0.5f, 0.5f};
    Vector2<float> size{1.0f, 1.0f};
    Vector2<float> scale{1.0f, 1.0f};
    float shaderPivotAndSize[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    // sRGB.
    Color color{1.0f, 1.0f, 1.0f, 1.0f};
    Vector2<float> uvStart{0.0f, 0.0f};
    Vector2<float> uvEnd{1.0f, 1.0f};
    float rotation = 0.0f;
    bool isHidden = false;
};

struct alignas(16) Sprite3DInstanceData
{
    Matrix4x4 transform;
    Vector2<float> pivot{0.0f, 0.0f};
    Vector2<float> size{1.0f, 1.0f};
    Color color{1.0f, 1.0f, 1.0f, 1.0f};
    Vector2<float> uvStart{0.0f, 0.0f};
    Vector2<float> uvEnd{1.0f, 1.0f};
    bool isHidden = false;
};

// One sprite as a batch places it; its four corners are what reaches the GPU.
struct SpriteGpuInstance
{
    Matrix4x4 world;
    // Linear red, green and blue; alpha as given.
    Color color;
    float pivotAndSize[4];
    // (uvStart x, uvEnd y, uvEnd x, uvStart y).
    float uvRect[4];
};
static_assert(sizeof(SpriteGpuInstance) == 112);

// A corner as the vertex shader reads it: its place in world space, its linear colour and texture
// coordinate.
struct SpriteVertex
{
    float position[4];
    Color color;
    float uv[2];
};
static_assert(sizeof(SpriteVertex) == 40);

struct QueuedSprite
{
    SpriteSharedData sharedData;
    Sprite3DInstanceData instance;
    std::uint32_t layer = 0;
    std::uint64_t sequence = 0;
};

class SpriteBatchScope
{
public:
    SpriteBatchScope() = default;
    ~SpriteBatchScope();
    SpriteBatchScope(SpriteBatchScope&& anOther) noexcept;
    SpriteBatchScope& operator=(SpriteBatchScope&& anOther) noexcept;
    SpriteBatchScope(const SpriteBatchScope&) = delete;
    SpriteBatchScope& operator=(const SpriteBatchScope&) = delete;

    void Draw2D(const Sprite2DInstanceData& anInstance) { Draw2DArray(&anInstance, 1); }
    void Draw3D(const Sprite3DInstanceData& anInstance) { Draw3DArray(&anInstance, 1); }
    void Draw2DArray(const Sprite2DInstanceData* someInstances, std::size_t aCount);
    void Draw3DArray(const Sprite3DInstanceData* someInstances, std::size_t aCount);

    bool IsActive() const { return mySpriteDrawer != nullptr; }
    // Maps the vertex buffer for writing; false when the map fails.
    bool Map();
    // Sends the written instances and draws them; nothing is drawn while no buffer is mapped.
    void UnMapAndRender();

private:
    friend class SpriteDrawer;
    explicit SpriteBatchScope(SpriteDrawer& aDrawer) : mySpriteDrawer(&aDrawer) {}
    // Writes one instance, drawing and remapping when the buffer is full.
    void Append(const SpriteGpuInstance& anInstance);
    template <typename Instance>
    void DrawInstances(const Instance* someInstances, std::size_t aCount);
    void End();

    SpriteDrawer* mySpriteDrawer = nullptr;
    SpriteVertex* myMappedVertices = nullptr;
    std::uint64_t myInstanceCount = 0;
};

class SpriteDrawer
{
public:
    static constexpr std::uint64_t BATCH_SIZE = 1024;

    SpriteDrawer() = default;
    ~SpriteDrawer();
    SpriteDrawer(const SpriteDrawer&) = delete;
    SpriteDrawer& operator=(const SpriteDrawer&) = delete;

    void Init();
    bool IsLoaded() const { return myIsLoaded; }

    SpriteBatchScope BeginBatch(const SpriteSharedData& aSharedData);
    void QueueSprite(const SpriteSharedData& aSharedData, const Sprite3DInstanceData& anInstance,
                     std::uint32_t aLayer);
    void DrawQueuedSprites();
    std::size_t GetQueuedCount() const { return myQueuedSprites.size(); }

    // The instance record of a 2D or 3D sprite under the given current transform.
    static SpriteGpuInstance MakeInstance(const Sprite2DInstanceData& anInstance,
                                          const Matrix4x4& aTransform);
    static SpriteGpuInstance MakeInstance(const Sprite3DInstanceData& anInstance,
                                          const Matrix4x4& aTransform);

private:
    friend class SpriteBatchScope;

    SpriteShader& ChooseShader(const SpriteSharedData& aSharedData) const;

    // BATCH_SIZE sprites' corners, and the six indices of each sprite's two triangles.
    Platform::Gfx::BufferPtr myVertexBuffer;
    Platform::Gfx::BufferPtr myIndexBuffer;
    std::unique_ptr<SpriteShader> myDefaultShader;
    // The default shader's twin for batches of the white square; null when it did not load.
    std::unique_ptr<SpriteShader> myFlatColorShader;
    bool myIsLoaded = false;
    bool myIsInBatch = false;
    std::vector<std::unique_ptr<QueuedSprite>> myQueuedSprites;
    std::uint64_t myQueueSequence = 0;
};
} // namespace Qel
