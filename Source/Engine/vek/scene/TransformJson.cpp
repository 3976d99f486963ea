#include "vek/scene/TransformJson.h"

#include "vek/scene/PropertyJson.h"

#include <algorithm>

namespace Qel
{
void MatrixFromJson(const nlohmann::json& aJson, Matrix4x4& aOut)
{
    float elements[Matrix4x4::ELEMENT_COUNT];
    impl::ReadFloatArrayJson(aJson, elements, Matrix4x4::ELEMENT_COUNT);
    std::copy(std::begin(elements), std::end(elements), aOut.GetData());
}

void Vector3FromJson(const nlohmann::json& aJson, Vector3<float>& aOut)
{
    float components[3];
    impl::ReadFloatArrayJson(aJson, components, 3);
    aOut = Vector3<float>(components[0], components[1], components[2]);
}
} // namespace Qel
