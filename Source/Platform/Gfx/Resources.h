// Device resources: 2D textures (and cube maps), the three kinds of view on them, and vertex and pixel
// shaders. Each is
// held by shared ownership (copies are references). A resource made off the main thread keeps its data on
// the CPU and gets its GL object on the main thread the first time it is used; one made on the main
// thread gets it at once. Descriptions are fixed at creation and may be read from any thread; Realise
// and the GL names belong to the main thread.
#pragma once

#include "Platform/Gfx/DeviceCore.h"
#include "Platform/Gfx/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Platform::Gfx
{
class Texture2D
{
public:
    Texture2D(DeviceCorePtr aCore, const Texture2DDesc& aDesc,
              std::vector<std::vector<std::uint8_t>> someLevels);
    ~Texture2D();
    Texture2D(const Texture2D&) = delete;
    Texture2D& operator=(const Texture2D&) = delete;

    const Texture2DDesc& GetDesc() const { return myDesc; }
    // Main thread: the GL texture, made (and its initial pixels uploaded) on first use; 0 on failure.
    unsigned int Realise();
    bool IsRealised() const { return myName != 0; }
    // Whether the initial pixels still wait on the CPU for the upload.
    bool HasPendingData() const { return !myLevels.empty(); }
    bool IsDepth() const;
    bool IsCube() const;

private:
    DeviceCorePtr myCore;
    Texture2DDesc myDesc;
    // One entry per subresource: array slice major, then mip level.
    std::vector<std::vector<std::uint8_t>> myLevels;
    unsigned int myName = 0;
};

using Texture2DPtr = std::shared_ptr<Texture2D>;

// A typed view on a texture: the texture's own GL object when the formats agree, else a GL texture
// view in the view's format (how an sRGB view of a plain colour buffer is made).
class TextureView
{
public:
    TextureView(DeviceCorePtr aCore, Texture2DPtr aTexture, Format aFormat);
    ~TextureView();
    TextureView(const TextureView&) = delete;
    TextureView& operator=(const TextureView&) = delete;

    const Texture2DPtr& GetTexture() const { return myTexture; }
    Format GetFormat() const { return myFormat; }
    // Main thread: the GL texture to attach or sample; 0 on failure.
    unsigned int Realise();

private:
    DeviceCorePtr myCore;
    Texture2DPtr myTexture;
    Format myFormat;
    unsigned int myViewName = 0;
};

class RenderTargetView : public TextureView
{
    using TextureView::TextureView;
};
class DepthStencilView : public TextureView
{
    using TextureView::TextureView;
};
class ShaderResourceView : public TextureView
{
    using TextureView::TextureView;
};

using RenderTargetViewPtr = std::shared_ptr<RenderTargetView>;
using DepthStencilViewPtr = std::shared_ptr<DepthStencilView>;
using ShaderResourceViewPtr = std::shared_ptr<ShaderResourceView>;

enum class ShaderStage
{
    Vertex,
    Pixel,
};

// A shader stage from SPIR-V, entry point "main".
class Shader
{
public:
    Shader(DeviceCorePtr aCore, ShaderStage aStage, std::vector<std::uint8_t> someCode);
    ~Shader();
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    const std::vector<std::uint8_t>& GetCode() const { return myCode; }
    // Main thread: the specialised GL shader; 0 when the driver refused the code.
    unsigned int Realise();
    // Main thread: a separable program of this one stage, for the context's program pipeline; 0 on
    // failure.
    unsigned int RealiseProgram();
    bool IsFromLiveDevice() const { return myCore->IsAlive(); }

private:
    DeviceCorePtr myCore;
    ShaderStage myStage;
    std::vector<std::uint8_t> myCode;
    unsigned int myName = 0;
    unsigned int myProgram = 0;
    bool myHasFailed = false;
};

using ShaderPtr = std::shared_ptr<Shader>;

// Whether bytes look like a SPIR-V module (magic number, whole words).
bool IsSpirv(const std::vector<std::uint8_t>& someCode);
} // namespace Platform::Gfx
