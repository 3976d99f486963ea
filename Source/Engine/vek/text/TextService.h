// Text on FreeType: owns the FreeType library for the engine's lifetime. Fonts and text layout come
// with the text issue's work. Main thread.
#pragma once

#include <cstdint>

namespace Qel
{
class TextService
{
public:
    TextService() = default;
    ~TextService();
    TextService(const TextService&) = delete;
    TextService& operator=(const TextService&) = delete;

    // Starts the FreeType library; true when it started.
    bool Init();
    bool IsStarted() const { return myLibrary != nullptr; }

private:
    // FreeType's library handle, kept opaque so users need no FreeType headers.
    void* myLibrary = nullptr;
};
} // namespace Qel
