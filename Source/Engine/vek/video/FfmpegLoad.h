// Starts loading the FFmpeg libraries on a background task, for code that must not see their headers.
#pragma once

namespace Qel::impl
{
// Later calls do nothing; the video code waits for the load when it first opens a file.
void StartFfmpegLoad();
} // namespace Qel::impl
