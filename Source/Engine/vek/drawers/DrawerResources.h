// Small creation helpers the drawers share: dynamic buffers and input layouts checked against a vertex
// shader. Main thread (the device makes the GL objects at once there).
#pragma once

#include "Platform/Gfx/Buffer.h"
#include "Platform/Gfx/InputLayout.h"

#include <cstdint>
#include <span>
#include <string>

namespace Qel::impl
{
// A CPU-writable dynamic buffer of aByteWidth bytes; null without a device or when it refuses.
Platform::Gfx::BufferPtr CreateDynamicBuffer(std::uint32_t aByteWidth, std::uint32_t aBindFlags);
// The layout for a vertex shader's bytecode; null without a device or when it refuses.
Platform::Gfx::InputLayoutPtr CreateLayout(std::span<const Platform::Gfx::InputElementDesc> someElements,
                                           const std::string& aVertexShaderBytecode);
} // namespace Qel::impl
