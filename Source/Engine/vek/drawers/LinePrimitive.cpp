#include "vek/drawers/LinePrimitive.h"

#include "vek/Math/Vector4.h"

namespace Qel::impl
{
namespace
{
LineVertex MakeVertex(const Vector3<float>& aPoint, const Color& aColor, const Matrix4x4& aTransform)
{
    const Vector4<float> moved = Vector4<float>(aPoint.x, aPoint.y, aPoint.z, 1.0f) * aTransform;
    return LineVertex{{moved.x, moved.y, moved.z}, {aColor.r, aColor.g, aColor.b, aColor.a}, {0.0f, 0.0f}};
}
} // namespace

std::array<LineVertex, 2> MakeLineVertices(const LinePrimitive& aLine, const Matrix4x4& aTransform)
{
    return {MakeVertex(aLine.fromPosition, aLine.color, aTransform),
            MakeVertex(aLine.toPosition, aLine.color, aTransform)};
}
} // namespace Qel::impl
