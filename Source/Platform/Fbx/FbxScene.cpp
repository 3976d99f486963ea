#include "Platform/Fbx/FbxScene.h"

#include <algorithm>

namespace Qel::Fbx
{
double Curve::Evaluate(int64_t aTime) const
{
    if (times.empty() || values.size() != times.size())
    {
        return 0.0;
    }
    if (aTime <= times.front())
    {
        return values.front();
    }
    if (aTime >= times.back())
    {
        return values.back();
    }
    const auto next = std::upper_bound(times.begin(), times.end(), aTime);
    const size_t i = static_cast<size_t>(next - times.begin());
    const int64_t t0 = times[i - 1];
    const int64_t t1 = times[i];
    if (constant || t1 == t0)
    {
        return values[i - 1];
    }
    const double f = static_cast<double>(aTime - t0) / static_cast<double>(t1 - t0);
    return values[i - 1] + (values[i] - values[i - 1]) * f;
}

Vector3 Scene::Evaluate(const AnimatedVector& aVector, int64_t aTime) const
{
    Vector3 result = aVector.value;
    for (size_t k = 0; k < 3; ++k)
    {
        const int32_t curve = aVector.curves[k];
        if (curve >= 0 && static_cast<size_t>(curve) < curves.size())
        {
            result[k] = curves[static_cast<size_t>(curve)].Evaluate(aTime);
        }
    }
    return result;
}

Matrix Scene::EvaluateLocalTransform(int32_t aNode, int64_t aTime) const
{
    if (aNode <= 0 || static_cast<size_t>(aNode) >= nodes.size())
    {
        return Matrix{};
    }
    const NodeTransform& t = nodes[static_cast<size_t>(aNode)].transform;
    const Vector3 translation = Evaluate(t.translation, aTime);
    const Vector3 rotation = Evaluate(t.rotation, aTime);
    const Vector3 scaling = Evaluate(t.scaling, aTime);
    const auto negate = [](const Vector3& v)
    {
        return Vector3{-v[0], -v[1], -v[2]};
    };

    const RotationOrder order = t.rotationActive ? t.rotationOrder : RotationOrder::XYZ;
    Matrix rotate = EulerRotation(rotation, order);
    if (t.rotationActive)
    {
        rotate = EulerRotation(t.preRotation) * rotate * Inverse(EulerRotation(t.postRotation));
    }
    // T * Roff * Rp * Rpre * R * Rpost^-1 * Rp^-1 * Soff * Sp * S * Sp^-1
    const Matrix local = Translation(translation) * Translation(t.rotationOffset) *
                         Translation(t.rotationPivot) * rotate * Translation(negate(t.rotationPivot)) *
                         Translation(t.scalingOffset) * Translation(t.scalingPivot) * Scaling(scaling) *
                         Translation(negate(t.scalingPivot));
    return ToConverted(local);
}

Matrix Scene::EvaluateGlobalTransform(int32_t aNode, int64_t aTime) const
{
    Matrix global;
    // Walk up to the root; the depth guard stops a damaged parent cycle.
    for (size_t depth = 0; aNode > 0 && static_cast<size_t>(aNode) < nodes.size() && depth < nodes.size();
         ++depth)
    {
        global = EvaluateLocalTransform(aNode, aTime) * global;
        aNode = nodes[static_cast<size_t>(aNode)].parent;
    }
    return global;
}

Matrix Scene::GetGeometricTransform(int32_t aNode) const
{
    if (aNode <= 0 || static_cast<size_t>(aNode) >= nodes.size())
    {
        return Matrix{};
    }
    const NodeTransform& t = nodes[static_cast<size_t>(aNode)].transform;
    return ToConverted(ComposeTrs(t.geometricTranslation, t.geometricRotation, t.geometricScaling));
}

int32_t Scene::FindNodeByName(std::string_view aName) const
{
    for (size_t i = 1; i < nodes.size(); ++i)
    {
        if (nodes[i].name == aName)
        {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

const TakeInfo* Scene::FindTake(std::string_view aName) const
{
    const auto it =
        std::find_if(takes.begin(), takes.end(), [&](const TakeInfo& t) { return t.name == aName; });
    return it == takes.end() ? nullptr : &*it;
}

Matrix Scene::ToConverted(const Matrix& aMatrix) const
{
    return myConversion * aMatrix * myConversionInverse;
}

void Scene::ApplyConversion(const Matrix& aChange, bool aDirectionsToo)
{
    myConversion = aChange * myConversion;
    myConversionInverse = Inverse(myConversion);
    const bool mirrored = Determinant3x3(aChange) < 0.0;
    for (MeshPart& part : meshParts)
    {
        for (Vector3& p : part.positions)
        {
            p = TransformPoint(aChange, p);
        }
        if (aDirectionsToo)
        {
            for (auto* list : {&part.normals, &part.tangents, &part.binormals})
            {
                for (Vector3& v : *list)
                {
                    v = TransformDirection(aChange, v);
                }
            }
        }
        if (mirrored)
        {
            for (size_t i = 0; i + 2 < part.triangles.size(); i += 3)
            {
                std::swap(part.triangles[i + 1], part.triangles[i + 2]);
            }
        }
    }
    // Cluster matrices were stored in the file's space: re-express them like every other matrix.
    const Matrix change = aChange;
    const Matrix changeInverse = Inverse(aChange);
    for (Node& node : nodes)
    {
        for (Cluster& cluster : node.clusters)
        {
            cluster.transform = change * cluster.transform * changeInverse;
            cluster.transformLink = change * cluster.transformLink * changeInverse;
        }
    }
}

void Scene::ConvertToCentimetres()
{
    const double factor = settings.unitScaleFactor > 0.0 ? settings.unitScaleFactor : 1.0;
    if (factor != 1.0)
    {
        ApplyConversion(Scaling({factor, factor, factor}), false);
    }
    settings.unitScaleFactor = 1.0;
}

void Scene::ConvertToDirectXAxes()
{
    // Rows: the file's right (coord) axis becomes x, its up axis y, and its front axis -z, which
    // turns the right-handed file into the left-handed Y-up target.
    const auto axis = [](int aIndex)
    {
        return std::clamp(aIndex, 0, 2);
    };
    const auto sign = [](int aSign)
    {
        return aSign < 0 ? -1.0 : 1.0;
    };
    Matrix change;
    change.m.fill(0.0);
    change(3, 3) = 1.0;
    change(0, axis(settings.coordAxis)) = sign(settings.coordAxisSign);
    change(1, axis(settings.upAxis)) = sign(settings.upAxisSign);
    change(2, axis(settings.frontAxis)) = -sign(settings.frontAxisSign);
    if (std::abs(Determinant3x3(change)) < 0.5)
    {
        return; // the file names one axis twice: leave it as it is
    }
    ApplyConversion(change, true);
}

double FrameRateOfTimeMode(int aTimeMode, double aCustomFrameRate)
{
    static constexpr std::array<double, 19> RATES{
        30.0, 120.0, 100.0,  60.0,   50.0, 48.0, 30.0, 30.0,  29.97002617, 29.97002617,
        25.0, 24.0,  1000.0, 23.976, 0.0,  96.0, 72.0, 59.94, 119.88};
    if (aTimeMode == 14)
    {
        // No preset runs faster than 1000 frames a second; NaN fails the test as well.
        return aCustomFrameRate > 0.0 && aCustomFrameRate <= 1000.0 ? aCustomFrameRate : 30.0;
    }
    if (aTimeMode < 0 || static_cast<size_t>(aTimeMode) >= RATES.size())
    {
        return 30.0;
    }
    return RATES[static_cast<size_t>(aTimeMode)];
}
} // namespace Qel::Fbx
