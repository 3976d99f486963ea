#include "vek/Math/Color.h"

#include <cmath>

namespace Qel
{
namespace
{
float SrgbToLinear(float aChannel)
{
    return aChannel < 0.04045f ? aChannel / 12.92f : std::pow((aChannel + 0.055f) / 1.055f, 2.4f);
}
} // namespace

Color Color::AsLinear() const
{
    return {SrgbToLinear(r), SrgbToLinear(g), SrgbToLinear(b), a};
}
} // namespace Qel
