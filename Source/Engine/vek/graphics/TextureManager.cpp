#include "vek/graphics/TextureManager.h"

#include "vek/Core/Engine.h"
#include "vek/filewatcher/FileWatcher.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/TextureLoaders.h"
#include "vek/settings/AssetPaths.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <vector>

namespace Qel
{
TextureManager* TextureManager::ourActive = nullptr;

namespace
{
using namespace Platform::Gfx;

constexpr std::array<std::uint8_t, 4> MAGENTA = {255, 0, 255, 255};
constexpr std::array<std::uint8_t, 4> BLACK = {0, 0, 0, 255};

ShaderResourceViewPtr MakeBuiltIn(std::uint32_t aSide, const std::vector<std::uint8_t>& somePixels)
{
    Device* device = DX11::GetDevice();
    if (device == nullptr)
    {
        return nullptr;
    }
    Texture2DDesc desc;
    desc.width = aSide;
    desc.height = aSide;
    desc.format = Format::R8G8B8A8_UNORM;
    desc.bindFlags = BIND_SHADER_RESOURCE;
    const SubresourceData data{somePixels.data(), aSide * 4};
    const Texture2DPtr texture = device->CreateTexture2D(desc, std::span(&data, 1));
    return texture != nullptr ? device->CreateShaderResourceView(texture) : nullptr;
}

std::vector<std::uint8_t> Flat(std::uint32_t aSide, const std::array<std::uint8_t, 4>& aColor)
{
    std::vector<std::uint8_t> pixels;
    for (std::uint32_t index = 0; index < aSide * aSide; ++index)
    {
        pixels.insert(pixels.end(), aColor.begin(), aColor.end());
    }
    return pixels;
}

float GetRenderHeight()
{
    if (const Engine* engine = Engine::GetInstance())
    {
        return static_cast<float>(engine->GetRenderSize().y);
    }
    return static_cast<float>(DX11::GetResolution().y);
}

void SetPlaceholderSizes(Texture& aTexture)
{
    aTexture.myNormalizedSize = {0.3f, 0.3f};
    aTexture.mySize = {512, 512};
}
} // namespace

TextureManager::TextureManager(FileWatcher* aWatcher) : myWatcher(aWatcher)
{
    ourActive = this;
}

TextureManager::~TextureManager()
{
    // Workers use the queue: none may outlive it. Jobs not begun are dropped.
    std::vector<std::future<void>> workers;
    {
        std::lock_guard lock(myMutex);
        myPrefetchQueue.clear();
        workers = std::move(myPrefetchWorkers);
    }
    workers.clear();
    myPrefetches.clear();
    if (ourActive == this)
    {
        ourActive = nullptr;
    }
}

void TextureManager::Init()
{
    std::vector<std::uint8_t> checker;
    for (std::uint32_t y = 0; y < 16; ++y)
    {
        for (std::uint32_t x = 0; x < 16; ++x)
        {
            const auto& color = (x + y) % 2 == 1 ? MAGENTA : BLACK;
            checker.insert(checker.end(), color.begin(), color.end());
        }
    }
    myMissingTextureView = MakeBuiltIn(16, checker);
    myWhiteSquare = std::make_unique<Texture>();
    myWhiteSquare->myName = "WhiteSquare";
    myWhiteSquare->myView = MakeBuiltIn(4, Flat(4, {255, 255, 255, 255}));
    SetPlaceholderSizes(*myWhiteSquare);
    myFlatNormalView = MakeBuiltIn(4, Flat(4, {128, 128, 255, 255}));
    myIsInitialized = true;
}

std::string TextureManager::MakeCacheKey(std::string_view aPath, std::uint32_t aColorMode)
{
    std::string key(aPath);
    if (aColorMode == 1)
    {
        key += "#SRGB";
    }
    else if (aColorMode == 2)
    {
        key += "#NO_SRGB";
    }
    return key;
}

void TextureManager::WarmActive(const std::string& aPath, std::uint32_t aColorMode)
{
    if (TextureManager* textures = GetActive(); textures != nullptr && !aPath.empty())
    {
        textures->TryGetTexture(aPath.c_str(), aColorMode, false);
    }
}

Texture* TextureManager::TryGetTexture(const char* aPath, std::uint32_t aColorMode, bool aForceReload)
{
    const std::string path = aPath != nullptr ? aPath : "";
    const std::string key = MakeCacheKey(path, aColorMode);
    {
        std::lock_guard lock(myMutex);
        const auto found = myCache.find(key);
        if (found != myCache.end() && !aForceReload)
        {
            return found->second.get();
        }
    }
    const std::string resolved = ResolveAssetPath(path);
    if (resolved.empty())
    {
        return nullptr;
    }
    Watch(key, resolved, path, aColorMode);

    // Loading runs without the lock: files are read and textures made while other threads use the cache.
    // A forced reload reads the file as it is now, never what a prefetch read before.
    std::optional<DecodedTexture> prefetched = TakePrefetch(key, resolved);
    if (aForceReload)
    {
        prefetched.reset();
    }
    const LoadedTexture loaded = prefetched ? FinishTexture(std::move(*prefetched), resolved, aColorMode)
                                            : LoadTextureFile(resolved, aColorMode);
    if (loaded.view == nullptr)
    {
        return nullptr;
    }
    const float renderHeight = GetRenderHeight();
    std::lock_guard lock(myMutex);
    std::unique_ptr<Texture>& slot = myCache[key];
    if (slot != nullptr && !aForceReload && !slot->myIsPlaceholder)
    {
        // Another thread loaded the same key meanwhile; its texture is the one callers hold.
        return slot.get();
    }
    if (slot == nullptr)
    {
        slot = std::make_unique<Texture>();
    }
    Texture& texture = *slot;
    texture.myName = resolved;
    texture.myPath = path;
    texture.myView = loaded.view;
    texture.myColorMode = aColorMode;
    texture.myIsPlaceholder = false;
    const float width = static_cast<float>(loaded.width);
    const float height = static_cast<float>(loaded.height);
    texture.myNormalizedSize = renderHeight > 0.0f
                                   ? Vector2<float>{width / renderHeight, height / renderHeight}
                                   : Vector2<float>{width, height};
    texture.mySize = {static_cast<std::int32_t>(loaded.width), static_cast<std::int32_t>(loaded.height)};
    return &texture;
}

Texture* TextureManager::GetTexture(const char* aPath, std::uint32_t aColorMode, bool aForceReload)
{
    if (Texture* texture = TryGetTexture(aPath, aColorMode, aForceReload))
    {
        return texture;
    }
    const std::string path = aPath != nullptr ? aPath : "";
    const std::string key = MakeCacheKey(path, aColorMode);
    std::lock_guard lock(myMutex);
    std::unique_ptr<Texture>& slot = myCache[key];
    if (slot == nullptr)
    {
        if (myWatchedRequests.count(key) == 0)
        {
            myMissingRequests.emplace(key, Request{path, aColorMode});
        }
        slot = std::make_unique<Texture>();
        slot->myName = path;
        slot->myView = myMissingTextureView;
        slot->myIsPlaceholder = true;
        SetPlaceholderSizes(*slot);
    }
    // An entry that exists (a texture whose reload failed) is kept: callers hold it.
    return slot.get();
}

void TextureManager::PrefetchTexture(const char* aPath, std::uint32_t aColorMode)
{
    const std::string path = aPath != nullptr ? aPath : "";
    const std::string key = MakeCacheKey(path, aColorMode);
    std::lock_guard lock(myMutex);
    if (myCache.count(key) != 0 || myPrefetches.count(key) != 0)
    {
        return;
    }
    PrefetchJob& job = myPrefetchQueue.emplace_back();
    job.key = key;
    job.path = path;
    job.colorMode = aColorMode;
    myPrefetches.emplace(key, job.result.get_future());
    if (myRunningPrefetchWorkers < MAX_PREFETCH_WORKERS)
    {
        std::erase_if(myPrefetchWorkers, [](const std::future<void>& aWorker)
                      { return aWorker.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
        ++myRunningPrefetchWorkers;
        myPrefetchWorkers.push_back(std::async(std::launch::async, &TextureManager::RunPrefetches, this));
    }
}

void TextureManager::RunPrefetches()
{
    for (;;)
    {
        PrefetchJob job;
        {
            std::lock_guard lock(myMutex);
            if (myPrefetchQueue.empty())
            {
                --myRunningPrefetchWorkers;
                return;
            }
            job = std::move(myPrefetchQueue.front());
            myPrefetchQueue.pop_front();
        }
        // The images a main-thread request could load are decoded too: a worker's request of a non-DDS
        // key still gets nothing, as FinishTexture decides by the thread that asks.
        Prefetched result;
        result.resolvedPath = ResolveAssetPath(job.path);
        if (!result.resolvedPath.empty())
        {
            result.decoded = DecodeTextureFile(result.resolvedPath, job.colorMode, true);
        }
        job.result.set_value(std::move(result));
    }
}

std::optional<DecodedTexture> TextureManager::TakePrefetch(const std::string& aKey,
                                                           const std::string& aResolvedPath)
{
    std::future<Prefetched> pending;
    {
        std::lock_guard lock(myMutex);
        const auto found = myPrefetches.find(aKey);
        if (found == myPrefetches.end())
        {
            return std::nullopt;
        }
        pending = std::move(found->second);
        myPrefetches.erase(found);
        // Not begun yet: the requester reads it now rather than wait behind the others.
        const auto queued = std::find_if(myPrefetchQueue.begin(), myPrefetchQueue.end(),
                                         [&aKey](const PrefetchJob& aJob) { return aJob.key == aKey; });
        if (queued != myPrefetchQueue.end())
        {
            myPrefetchQueue.erase(queued);
            return std::nullopt;
        }
    }
    Prefetched result = pending.get();
    // The file resolved elsewhere since (one appeared under an earlier root): the prefetch read the wrong
    // one.
    if (result.resolvedPath != aResolvedPath)
    {
        return std::nullopt;
    }
    return std::move(result.decoded);
}

void TextureManager::Watch(const std::string& aKey, const std::string& aResolvedPath,
                           const std::string& aPath, std::uint32_t aColorMode)
{
    if (myWatcher == nullptr)
    {
        return;
    }
    {
        std::lock_guard lock(myMutex);
        if (!myWatchedRequests.emplace(aKey, Request{aPath, aColorMode}).second)
        {
            return;
        }
    }
    // Outside the cache lock: the watcher takes its own locks.
    myWatcher->WatchFileChange(aResolvedPath, [this, aKey] { OnTextureFileChanged(aKey); });
}

void TextureManager::RetryMissingFiles()
{
    std::vector<Request> appeared;
    {
        std::lock_guard lock(myMutex);
        for (auto entry = myMissingRequests.begin(); entry != myMissingRequests.end();)
        {
            if (!ResolveAssetPath(entry->second.path).empty())
            {
                appeared.push_back(entry->second);
                entry = myMissingRequests.erase(entry);
            }
            else
            {
                ++entry;
            }
        }
    }
    for (const Request& request : appeared)
    {
        GetTexture(request.path.c_str(), request.colorMode, true);
    }
}

void TextureManager::OnTextureFileChanged(const std::string& aKey)
{
    Request request;
    {
        std::lock_guard lock(myMutex);
        const auto watched = myWatchedRequests.find(aKey);
        if (watched == myWatchedRequests.end())
        {
            return;
        }
        request = watched->second;
    }
    GetTexture(request.path.c_str(), request.colorMode, true);
}
} // namespace Qel
