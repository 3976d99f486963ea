// Holds SDL's video subsystem open for the lifetime of the object. SDL counts these references, so
// windows, screen queries and tests can each hold one. Main thread only, as SDL's video calls are.
#pragma once

#include <string>

namespace Platform
{
class VideoSubsystem
{
public:
    VideoSubsystem();
    ~VideoSubsystem();
    VideoSubsystem(const VideoSubsystem&) = delete;
    VideoSubsystem& operator=(const VideoSubsystem&) = delete;

    bool IsReady() const { return myIsReady; }
    // Why the subsystem could not start; empty when it is ready.
    const std::string& GetError() const { return myError; }

private:
    bool myIsReady = false;
    std::string myError;
};
} // namespace Platform
