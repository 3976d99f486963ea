// Adapters and the creation of the device, its immediate context and a window's swap chain. Creation
// happens on the thread that becomes the main thread: the GL context is made current there.
#pragma once

#include "Platform/Gfx/Context.h"
#include "Platform/Gfx/Device.h"
#include "Platform/Gfx/SwapChain.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Platform::Gfx
{
struct AdapterDesc
{
    std::string description;
    std::uint64_t dedicatedVideoMemory = 0;
};

// The adapters the system offers. GL gives no choice of adapter here: the one entry is the driver's
// default device, which is what the device is then created on.
std::vector<AdapterDesc> EnumerateAdapters();

struct DeviceObjects
{
    DevicePtr device;
    ContextPtr context;
    SwapChainPtr swapChain;
};

// A GL 4.5 core context on the window, with the layer's conventions set once (depth 0..1 clip space,
// sRGB writes through sRGB views). False with the reason in aError when the window has no GL surface or
// the driver offers less than GL 4.5 core.
bool CreateDeviceAndSwapChain(const AdapterDesc& aAdapter, const SwapChainDesc& aDesc,
                              DeviceObjects& aObjects, std::string& aError);

// The renderer string of the current context (for log lines); empty without a context.
std::string GetRendererName();
} // namespace Platform::Gfx
