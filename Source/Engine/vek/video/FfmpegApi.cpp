#include "vek/video/FfmpegApi.h"

#include <dlfcn.h>

#include <cstdlib>
#include <future>
#include <iostream>
#include <mutex>

namespace Qel::impl
{
namespace
{
std::string SonameOf(const char* aStem, int aMajor)
{
    return std::string("lib") + aStem + ".so." + std::to_string(aMajor);
}

struct ProcessLoad
{
    std::once_flag myStarted;
    std::shared_future<std::shared_ptr<const FfmpegLibraries>> myLibraries;
};

ProcessLoad& GetProcessLoad()
{
    // Never destroyed: a load still running when the process ends must not wait on or race a destructor.
    static ProcessLoad* const theLoad = new ProcessLoad();
    return *theLoad;
}
} // namespace

FfmpegLibraries::~FfmpegLibraries()
{
    for (auto handle = myHandles.rbegin(); handle != myHandles.rend(); ++handle)
    {
        if (*handle != nullptr)
        {
            dlclose(*handle);
        }
    }
}

FfmpegLibraryNames GetFfmpegLibraryNames()
{
    FfmpegLibraryNames names;
    names[FFMPEG_UTIL] = SonameOf("avutil", LIBAVUTIL_VERSION_MAJOR);
    names[FFMPEG_RESAMPLE] = SonameOf("swresample", LIBSWRESAMPLE_VERSION_MAJOR);
    names[FFMPEG_SCALE] = SonameOf("swscale", LIBSWSCALE_VERSION_MAJOR);
    names[FFMPEG_CODEC] = SonameOf("avcodec", LIBAVCODEC_VERSION_MAJOR);
    names[FFMPEG_FORMAT] = SonameOf("avformat", LIBAVFORMAT_VERSION_MAJOR);
    return names;
}

std::unique_ptr<FfmpegLibraries> LoadFfmpegLibraries(const FfmpegLibraryNames& aNames)
{
    auto libraries = std::make_unique<FfmpegLibraries>();
    for (int index = 0; index < FFMPEG_LIBRARY_COUNT; ++index)
    {
        // Local: the libraries' symbols must not take part in the lookups of everything loaded later.
        libraries->myHandles[index] = dlopen(aNames[index].c_str(), RTLD_NOW | RTLD_LOCAL);
        if (libraries->myHandles[index] == nullptr)
        {
            const char* error = dlerror();
            std::cout << "[Video] Cannot load " << aNames[index] << ": "
                      << (error != nullptr ? error : "unknown") << std::endl;
            return nullptr;
        }
    }
    FfmpegApi& api = libraries->myApi;
#define QEL_FFMPEG_FIND(aLibrary, aName)                                                                     \
    api.aName =                                                                                              \
        reinterpret_cast<decltype(&::aName)>(dlsym(libraries->myHandles[FFMPEG_##aLibrary], #aName));        \
    if (api.aName == nullptr)                                                                                \
    {                                                                                                        \
        std::cout << "[Video] " << aNames[FFMPEG_##aLibrary] << " has no " #aName << std::endl;              \
        return nullptr;                                                                                      \
    }
    QEL_FFMPEG_FUNCTIONS(QEL_FFMPEG_FIND)
#undef QEL_FFMPEG_FIND
    return libraries;
}

void StartFfmpegLoad()
{
    ProcessLoad& load = GetProcessLoad();
    std::call_once(load.myStarted,
                   [&load]
                   {
                       load.myLibraries = std::async(std::launch::async,
                                                     []() -> std::shared_ptr<const FfmpegLibraries>
                                                     { return LoadFfmpegLibraries(GetFfmpegLibraryNames()); })
                                              .share();
                       // A process that ends mid-load would end inside the loader, with libraries that
                       // are half set up and not yet listed as loaded: the exit waits for the load.
                       std::atexit([] { GetProcessLoad().myLibraries.wait(); });
                   });
}

const FfmpegApi* GetFfmpeg()
{
    StartFfmpegLoad();
    const std::shared_ptr<const FfmpegLibraries>& libraries = GetProcessLoad().myLibraries.get();
    return libraries != nullptr ? &libraries->GetApi() : nullptr;
}
} // namespace Qel::impl
