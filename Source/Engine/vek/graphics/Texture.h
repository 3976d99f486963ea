// One sampled image as the texture manager hands it out: the view shaders sample, the colour mode it
// was asked for, its name and requested path, and its sizes. Owned by the texture manager; callers hold
// plain pointers for the life of the program. Main thread.
#pragma once

#include "Platform/Gfx/Resources.h"
#include "vek/Math/Vector2.h"

#include <cstdint>
#include <string>

namespace Qel
{
class Texture
{
public:
    Texture() = default;

    Platform::Gfx::ShaderResourceViewPtr myView;
    // 0 the file's own, 1 forced sRGB, 2 sRGB ignored.
    std::uint32_t myColorMode = 0;
    std::string myName = "undefined";
    std::string myPath;
    // Pixel sizes divided by the render height.
    Vector2<float> myNormalizedSize;
    Vector2<std::int32_t> mySize;
    bool myIsPlaceholder = false;
};
} // namespace Qel
