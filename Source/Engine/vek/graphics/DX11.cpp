#include "vek/graphics/DX11.h"

#include "Platform/Files/WholeFile.h"
#include "vek/Core/Assert.h"
#include "vek/Core/WindowHandler.h"
#include "vek/settings/AssetPaths.h"
#include "vek/settings/Settings.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace Qel
{
namespace
{
// Whether the one instance exists; outside the class so the assertions read as the rule they check.
bool IsCreated = false;

void MarkCreated()
{
    QEL_ASSERT(IsCreated == false);
    IsCreated = true;
}

void MarkDestroyed()
{
    QEL_ASSERT(IsCreated == true);
    IsCreated = false;
}

struct ProcessWide
{
    Platform::Gfx::Device* device = nullptr;
    Platform::Gfx::Context* context = nullptr;
    Platform::Gfx::SwapChain* swapChain = nullptr;
    RenderTarget* backBuffer = nullptr;
    DepthBuffer* depthBuffer = nullptr;
    std::thread::id mainThread;
};

ProcessWide& State()
{
    static ProcessWide theState;
    return theState;
}

// The caches live for the whole process; entries are never moved, so handed-out pointers stay valid
// until a failed reload of the same name.
std::mutex& ShaderCacheMutex()
{
    static std::mutex theMutex;
    return theMutex;
}

template <typename Entry>
std::unordered_map<std::string, std::unique_ptr<Entry>>& ShaderCache()
{
    static std::unordered_map<std::string, std::unique_ptr<Entry>> theCache;
    return theCache;
}

std::span<const std::uint8_t> AsBytes(const std::string& aText)
{
    return {reinterpret_cast<const std::uint8_t*>(aText.data()), aText.size()};
}

// Called with the cache locked.
template <typename Entry>
Entry* LoadLocked(const char* aName)
{
    if (aName == nullptr)
    {
        return nullptr;
    }
    auto& cache = ShaderCache<Entry>();
    std::unique_ptr<Entry>& slot = cache[aName];
    if (slot == nullptr)
    {
        slot = std::make_unique<Entry>();
    }
    slot->shader.reset();
    // Shader names spell their folder both "Shaders" and "shaders": match the path without regard to case.
    const std::string bytes = Platform::ReadWholeFile<std::string>(
        impl::FindFileBelow(GetCookedAssetRoot(), impl::WithForwardSlashes(std::string(aName) + ".cso")));
    Platform::Gfx::Device* device = State().device;
    if (device != nullptr && !bytes.empty())
    {
        if constexpr (std::is_same_v<Entry, VertexShaderEntry>)
        {
            slot->bytecode = bytes;
            slot->shader = device->CreateVertexShader(AsBytes(slot->bytecode));
        }
        else
        {
            slot->shader = device->CreatePixelShader(AsBytes(bytes));
        }
    }
    if (slot->shader == nullptr)
    {
        cache.erase(aName);
        return nullptr;
    }
    return slot.get();
}

template <typename Entry>
Entry* Load(const char* aName)
{
    std::lock_guard lock(ShaderCacheMutex());
    return LoadLocked<Entry>(aName);
}

template <typename Entry>
Entry* Get(const char* aName)
{
    if (aName == nullptr)
    {
        return nullptr;
    }
    std::lock_guard lock(ShaderCacheMutex());
    auto& cache = ShaderCache<Entry>();
    const auto found = cache.find(aName);
    // An entry made by a device that has since gone (a device made again in one process) loads anew
    // into the same entry.
    if (found != cache.end() && found->second->shader->IsFromLiveDevice())
    {
        return found->second.get();
    }
    return LoadLocked<Entry>(aName);
}

bool Contains(const std::string& aText, const char* aWord)
{
    return aText.find(aWord) != std::string::npos;
}
} // namespace

DX11::DX11()
{
    MarkCreated();
    State() = ProcessWide{};
}

DX11::~DX11()
{
    MarkDestroyed();
    State() = ProcessWide{};
    myDepthBuffer = DepthBuffer();
    myBackBuffer = RenderTarget();
    mySwapChain.reset();
    myContext.reset();
    myDevice.reset();
}

std::optional<std::size_t> DX11::FindBestAdapter(std::span<const Platform::Gfx::AdapterDesc> someAdapters)
{
    if (someAdapters.empty())
    {
        return std::nullopt;
    }
    std::size_t best = 0;
    std::int32_t bestMemory = 0;
    for (std::size_t index = 0; index < someAdapters.size(); ++index)
    {
        const Platform::Gfx::AdapterDesc& adapter = someAdapters[index];
        if (!Contains(adapter.description, "NVIDIA") && !Contains(adapter.description, "ATI"))
        {
            continue;
        }
        const auto memory = static_cast<std::int32_t>(adapter.dedicatedVideoMemory >> 20);
        if (memory > bestMemory)
        {
            bestMemory = memory;
            best = index;
        }
    }
    return best;
}

bool DX11::Init(WindowHandler& aWindow)
{
    Platform::Window* window = aWindow.GetWindow();
    if (window == nullptr)
    {
        std::printf("[DX11] no window to create the device on\n");
        return false;
    }
    const std::vector<Platform::Gfx::AdapterDesc> adapters = Platform::Gfx::EnumerateAdapters();
    const std::optional<std::size_t> adapter = FindBestAdapter(adapters);
    if (!adapter.has_value())
    {
        std::printf("[DX11] no graphics adapter\n");
        return false;
    }
    myDepthBuffer = DepthBuffer();
    myBackBuffer = RenderTarget();
    Platform::Gfx::SwapChainDesc desc;
    desc.window = window;
    desc.format = Platform::Gfx::Format::B8G8R8A8_UNORM;
    desc.bufferCount = 1;
    Platform::Gfx::DeviceObjects objects;
    std::string error;
    if (!Platform::Gfx::CreateDeviceAndSwapChain(adapters[*adapter], desc, objects, error))
    {
        std::printf("[DX11] could not create the device: %s\n", error.c_str());
        return false;
    }
    myDevice = objects.device;
    myContext = objects.context;
    mySwapChain = objects.swapChain;
    State().device = myDevice.get();
    State().context = myContext.get();
    State().swapChain = mySwapChain.get();
    // Until the first present, what is made waits for its first use: the first frame then makes only
    // what it draws, and the rest is made at its first draw or one a frame after.
    myDevice->GetCore()->SetMainMakesDeferred(true);
    if (!CreateTargets())
    {
        std::printf("[DX11] could not create the back buffer and depth buffer\n");
        return false;
    }
    State().mainThread = std::this_thread::get_id();
    std::printf("[DX11] device on %s\n", Platform::Gfx::GetRendererName().c_str());
    return true;
}

bool DX11::CreateTargets()
{
    const Platform::Gfx::Texture2DPtr buffer = mySwapChain->GetBuffer(0);
    if (buffer == nullptr)
    {
        return false;
    }
    myBackBuffer = RenderTarget::Create(buffer, Platform::Gfx::Format::B8G8R8A8_UNORM_SRGB);
    myDepthBuffer = DepthBuffer::Create({buffer->GetDesc().width, buffer->GetDesc().height});
    if (myBackBuffer.IsEmpty() || myDepthBuffer.IsEmpty())
    {
        myBackBuffer = RenderTarget();
        myDepthBuffer = DepthBuffer();
        return false;
    }
    myBackBuffer.SetAsActiveTarget(&myDepthBuffer);
    Publish();
    return true;
}

void DX11::Publish()
{
    State().backBuffer = myBackBuffer.IsEmpty() ? nullptr : &myBackBuffer;
    State().depthBuffer = myDepthBuffer.IsEmpty() ? nullptr : &myDepthBuffer;
}

void DX11::BeginFrame(const Color& aClearColor)
{
    if (myBackBuffer.IsEmpty())
    {
        return;
    }
    myBackBuffer.Clear(aClearColor.AsLinear());
    myDepthBuffer.Clear(1.0f, 0);
    myBackBuffer.SetAsActiveTarget(nullptr);
}

void DX11::EndFrame(bool aVsync)
{
    if (mySwapChain == nullptr || myBackBuffer.IsEmpty())
    {
        return;
    }
    mySwapChain->Present(aVsync ? 1 : 0);
    const Platform::Gfx::DeviceCorePtr& core = myDevice->GetCore();
    core->SetMainMakesDeferred(false);
    // One GL object that waits for the main thread (left by the start, or by a task reading ahead) is
    // made each frame, so no screen makes all it was given ahead in its first frame.
    core->RealiseDeferred(1);
}

bool DX11::Resize()
{
    if (mySwapChain == nullptr || myContext == nullptr)
    {
        return false;
    }
    Platform::Window* window = mySwapChain->GetWindow();
    const Platform::WindowSize size = window != nullptr ? window->GetDrawableSize() : Platform::WindowSize{};
    if (size.width <= 0 || size.height <= 0)
    {
        // Minimised: the old targets stay usable and the resize waits for a real size.
        return false;
    }
    if (myBackBuffer.GetSize() == Vector2<int>{size.width, size.height})
    {
        // The window reports its size on its first frames too; the targets already have it.
        return true;
    }
    myContext->SetRenderTargets(nullptr, nullptr);
    myContext->ClearState();
    myBackBuffer = RenderTarget();
    myDepthBuffer = DepthBuffer();
    Publish();
    myContext->Flush();
    if (!mySwapChain->ResizeBuffers(0, 0, Platform::Gfx::Format::Unknown))
    {
        return false;
    }
    return CreateTargets();
}

bool DX11::IsCreated()
{
    return ::Qel::IsCreated;
}

Vector2<int> DX11::GetResolution()
{
    const RenderTarget* backBuffer = State().backBuffer;
    return backBuffer != nullptr ? backBuffer->GetSize() : Vector2<int>{0, 0};
}

bool DX11::IsOnMainThread()
{
    return ::Qel::IsCreated && std::this_thread::get_id() == State().mainThread;
}

Platform::Gfx::Device* DX11::GetDevice()
{
    return State().device;
}

Platform::Gfx::Context* DX11::GetContext()
{
    return State().context;
}

Platform::Gfx::SwapChain* DX11::GetSwapChain()
{
    return State().swapChain;
}

RenderTarget* DX11::GetBackBuffer()
{
    return State().backBuffer;
}

DepthBuffer* DX11::GetDepthBuffer()
{
    return State().depthBuffer;
}

PixelShaderEntry* DX11::GetPixelShader(const char* aName)
{
    return Get<PixelShaderEntry>(aName);
}

VertexShaderEntry* DX11::GetVertexShader(const char* aName)
{
    return Get<VertexShaderEntry>(aName);
}

PixelShaderEntry* DX11::LoadPixelShader(const char* aName)
{
    return Load<PixelShaderEntry>(aName);
}

VertexShaderEntry* DX11::LoadVertexShader(const char* aName)
{
    return Load<VertexShaderEntry>(aName);
}

std::string DX11::GetPixelShaderName(const Platform::Gfx::Shader* aShader)
{
    std::lock_guard lock(ShaderCacheMutex());
    for (const auto& [name, entry] : ShaderCache<PixelShaderEntry>())
    {
        if (entry->shader.get() == aShader)
        {
            return name;
        }
    }
    return {};
}
} // namespace Qel
