#include "Platform/Gfx/InputLayout.h"

#include "Platform/Gfx/GlFormats.h"

#include <array>

namespace Platform::Gfx
{
InputLayout::InputLayout(DeviceCorePtr aCore, std::vector<ResolvedElement> someElements)
    : myCore(std::move(aCore)), myElements(std::move(someElements))
{
}

InputLayout::~InputLayout()
{
    myCore->ReleaseGlObject(GlObjectKind::VertexArray, myName);
}

std::vector<ResolvedElement> InputLayout::Resolve(const InputElementDesc* someElements, std::uint32_t aCount)
{
    std::vector<ResolvedElement> resolved;
    std::array<std::uint32_t, VERTEX_INPUT_SLOTS> slotEnds{};
    for (std::uint32_t index = 0; index < aCount; ++index)
    {
        const InputElementDesc& element = someElements[index];
        if (impl::GetGlAttribute(element.format).components == 0 || element.inputSlot >= VERTEX_INPUT_SLOTS)
        {
            return {};
        }
        ResolvedElement out;
        out.semantic = element.semanticName != nullptr ? element.semanticName : "";
        out.semanticIndex = element.semanticIndex;
        out.format = element.format;
        out.slot = element.inputSlot;
        out.offset = element.alignedByteOffset == APPEND_ALIGNED_ELEMENT ? slotEnds[element.inputSlot]
                                                                         : element.alignedByteOffset;
        out.stepRate = element.inputClass == InputClassification::PerInstance ? element.instanceStepRate : 0;
        slotEnds[element.inputSlot] = out.offset + GetBytesPerPixel(element.format);
        resolved.push_back(std::move(out));
    }
    return resolved;
}

unsigned int InputLayout::Realise()
{
    if (myName != 0 || !myCore->IsMainThread())
    {
        return myName;
    }
    GLuint name = 0;
    glCreateVertexArrays(1, &name);
    for (std::size_t location = 0; location < myElements.size(); ++location)
    {
        const ResolvedElement& element = myElements[location];
        const impl::GlAttribute attribute = impl::GetGlAttribute(element.format);
        const auto index = static_cast<GLuint>(location);
        glEnableVertexArrayAttrib(name, index);
        if (attribute.isInteger)
        {
            glVertexArrayAttribIFormat(name, index, attribute.components, attribute.type, element.offset);
        }
        else
        {
            glVertexArrayAttribFormat(name, index, attribute.components, attribute.type, GL_FALSE,
                                      element.offset);
        }
        glVertexArrayAttribBinding(name, index, element.slot);
        glVertexArrayBindingDivisor(name, element.slot, element.stepRate);
    }
    myName = name;
    return myName;
}
} // namespace Platform::Gfx
