// The record the engine is created from: window, render and presentation settings, debug features
// and the game's window hook. One static instance, filled by LoadSettings, adjusted by the entry
// point and copied by the engine when it starts. Main thread only, before and during engine start.
#pragma once

#include "Platform/Window/WindowMessages.h"
#include "vek/Core/CounterSource.h"
#include "vek/Math/Color.h"
#include "vek/Math/Vector2.h"

#include <cstdint>
#include <string>

namespace Qel
{
struct EngineCreateParameters
{
    WindowProcedure windowProcedure;
    Vector2<std::uint32_t> windowSize{1280, 720};
    Vector2<std::uint32_t> renderSize{1280, 720};
    std::uint32_t debugFeatures = 3;
    Color clearColor{3.0f / 255.0f, 0.6f, 176.0f / 255.0f, 1.0f};
    // Null: the engine creates its own window. After start it points at the window's handle.
    WindowHandle* windowHandle = nullptr;
    void* instanceHandle = nullptr;
    std::string title = "Morvane";
    bool vsync = false;
    bool startInFullscreen = false;
    bool startMaximized = false;
    bool borderless = false;
    std::uint32_t multisampling = 0;
    // The frame clock's counter; null for the steady clock. Tests step frames with one of their own,
    // which must outlive the engine.
    const CounterSource* frameClock = nullptr;
};

// The static record.
EngineCreateParameters& GetEngineCreateParameters();
} // namespace Qel
