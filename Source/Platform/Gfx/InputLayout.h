// An input layout: which vertex-buffer slot, offset and format feeds each vertex-shader input, and
// whether it steps per vertex or per instance. Element i feeds the shader input at location i, so
// shaders declare their inputs in the layout's order. Made on any thread; the GL vertex array is made
// on the main thread at first use.
#pragma once

#include "Platform/Gfx/DeviceCore.h"
#include "Platform/Gfx/Types.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Platform::Gfx
{
constexpr std::uint32_t APPEND_ALIGNED_ELEMENT = 0xFFFFFFFF;
constexpr std::uint32_t VERTEX_INPUT_SLOTS = 16;

enum class InputClassification
{
    PerVertex,
    PerInstance,
};

struct InputElementDesc
{
    const char* semanticName = "";
    std::uint32_t semanticIndex = 0;
    Format format = Format::Unknown;
    std::uint32_t inputSlot = 0;
    std::uint32_t alignedByteOffset = APPEND_ALIGNED_ELEMENT;
    InputClassification inputClass = InputClassification::PerVertex;
    std::uint32_t instanceStepRate = 0;
};

// One element with its offset worked out.
struct ResolvedElement
{
    std::string semantic;
    std::uint32_t semanticIndex = 0;
    Format format = Format::Unknown;
    std::uint32_t slot = 0;
    std::uint32_t offset = 0;
    std::uint32_t stepRate = 0;
};

class InputLayout
{
public:
    InputLayout(DeviceCorePtr aCore, std::vector<ResolvedElement> someElements);
    ~InputLayout();
    InputLayout(const InputLayout&) = delete;
    InputLayout& operator=(const InputLayout&) = delete;

    // Main thread: the GL vertex array with the attribute formats set; buffers are attached per draw.
    unsigned int Realise();

    // The elements with their offsets, or empty when an element has a format that is no vertex input,
    // a slot out of range, or the list is empty.
    static std::vector<ResolvedElement> Resolve(const InputElementDesc* someElements, std::uint32_t aCount);

private:
    DeviceCorePtr myCore;
    std::vector<ResolvedElement> myElements;
    unsigned int myName = 0;
};

using InputLayoutPtr = std::shared_ptr<InputLayout>;
} // namespace Platform::Gfx
