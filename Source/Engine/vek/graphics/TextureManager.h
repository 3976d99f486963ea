// The process-wide texture cache. Every texture is asked for by its asset path and colour mode, loaded
// once, kept for the life of the manager and reloaded in place when its file changes, so the pointers
// callers hold stay valid and show the new image. GetTexture never returns null: a file that cannot be
// loaded is stood for by a placeholder showing a magenta and black checker, which loads for real when
// the file appears or changes. Built-ins: "WhiteSquare", a flat normal map and the checker.
//
// Threads: textures are asked for from the main thread and from loading tasks (several model imports
// ask at once). The cache has its own lock, which is never held while calling the file watcher or
// loading a file, so the watcher's callbacks (main thread, no watcher lock held) and watches from
// workers cannot deadlock against it. Off the main thread only DDS files load. Init, the reload
// callbacks and the built-in views belong to the main thread. Prefetches are read and decoded in the
// order asked for by a few tasks, so the first request of a key only waits for its decode (if it is
// still running; one not yet begun is done by the requester at once) and makes the GL object.
#pragma once

#include "Platform/Gfx/Resources.h"
#include "vek/graphics/Texture.h"
#include "vek/graphics/TextureLoaders.h"

#include <cstdint>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Qel
{
class FileWatcher;

class TextureManager
{
public:
    // aWatcher may be null: nothing is then reloaded.
    explicit TextureManager(FileWatcher* aWatcher = nullptr);
    ~TextureManager();
    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    // Makes the checker, "WhiteSquare" and the flat normal map. A failed creation leaves that one empty.
    void Init();
    bool IsInitialized() const { return myIsInitialized; }

    // The cached texture (a placeholder included), or a fresh load; null when the path resolves to no
    // file or no loader takes it. A forced reload that fails leaves the texture as it was.
    Texture* TryGetTexture(const char* aPath, std::uint32_t aColorMode = 0, bool aForceReload = false);
    // As TryGetTexture, but a failure gives a placeholder stored under the key (never in place of a
    // texture callers already hold).
    Texture* GetTexture(const char* aPath, std::uint32_t aColorMode = 0, bool aForceReload = false);

    // Any thread: starts reading and decoding the file on a task, for a later request of the same path
    // and mode. Nothing for a key already cached or already prefetched.
    void PrefetchTexture(const char* aPath, std::uint32_t aColorMode = 0);

    // Main thread: placeholders whose file did not exist when asked for load once it appears (and are
    // watched from then on). The engine calls this now and then while file watching is on.
    void RetryMissingFiles();

    Texture* GetWhiteSquare() const { return myWhiteSquare.get(); }
    const Platform::Gfx::ShaderResourceViewPtr& GetFlatNormalView() const { return myFlatNormalView; }
    const Platform::Gfx::ShaderResourceViewPtr& GetMissingTextureView() const { return myMissingTextureView; }

    // The path, followed by "#SRGB" for mode 1 and "#NO_SRGB" for mode 2.
    static std::string MakeCacheKey(std::string_view aPath, std::uint32_t aColorMode);
    // The manager the engine's drawers use: the most recently constructed one still alive.
    static TextureManager* GetActive() { return ourActive; }
    // Any thread: TryGetTexture on the active manager, for a later request to find the texture cached;
    // nothing without an active manager or for an empty path.
    static void WarmActive(const std::string& aPath, std::uint32_t aColorMode);

private:
    struct Request
    {
        std::string path;
        std::uint32_t colorMode = 0;
    };

    struct Prefetched
    {
        std::string resolvedPath;
        DecodedTexture decoded;
    };
    struct PrefetchJob
    {
        std::string key;
        std::string path;
        std::uint32_t colorMode = 0;
        std::promise<Prefetched> result;
    };
    static constexpr int MAX_PREFETCH_WORKERS = 3;

    // A worker task: decodes queued prefetches until none is left.
    void RunPrefetches();
    void OnTextureFileChanged(const std::string& aKey);
    // The decoded file of the key's prefetch when it was of aResolvedPath, waited for; nothing otherwise.
    // The prefetch is used up either way.
    std::optional<DecodedTexture> TakePrefetch(const std::string& aKey, const std::string& aResolvedPath);
    void Watch(const std::string& aKey, const std::string& aResolvedPath, const std::string& aPath,
               std::uint32_t aColorMode);

    FileWatcher* myWatcher;
    std::mutex myMutex;
    std::unordered_map<std::string, std::unique_ptr<Texture>> myCache;
    // What each watched key was asked for with, so a placeholder's change can load the file.
    std::unordered_map<std::string, Request> myWatchedRequests;
    // Placeholders for paths that resolved to no file, by key.
    std::unordered_map<std::string, Request> myMissingRequests;
    // Reads and decodes in flight or done, by key, until their key is first asked for.
    std::unordered_map<std::string, std::future<Prefetched>> myPrefetches;
    std::deque<PrefetchJob> myPrefetchQueue;
    std::vector<std::future<void>> myPrefetchWorkers;
    int myRunningPrefetchWorkers = 0;
    Platform::Gfx::ShaderResourceViewPtr myMissingTextureView;
    Platform::Gfx::ShaderResourceViewPtr myFlatNormalView;
    std::unique_ptr<Texture> myWhiteSquare;
    bool myIsInitialized = false;

    static TextureManager* ourActive;
};
} // namespace Qel
