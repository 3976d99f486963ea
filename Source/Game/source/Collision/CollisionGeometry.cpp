#include "Collision/CollisionGeometry.h"

#include "Collision/BoxColliderComponent.h"
#include "Objects/GameObject.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
float Axis(const Qel::Vector3<float>& aVector, int anAxis)
{
    return anAxis == 0 ? aVector.x : (anAxis == 1 ? aVector.y : aVector.z);
}

bool IsInside(const CollisionBox& aBox, const Qel::Vector3<float>& aPoint)
{
    return aBox.min.x <= aPoint.x && aPoint.x <= aBox.max.x && aBox.min.y <= aPoint.y &&
           aPoint.y <= aBox.max.y && aBox.min.z <= aPoint.z && aPoint.z <= aBox.max.z;
}
} // namespace

bool RayIntersectBox(const CollisionBox& aBox, const CollisionRay& aRay, float& outT)
{
    if (IsInside(aBox, aRay.origin))
    {
        outT = 0.0f;
        return true;
    }
    for (int face = 0; face < 6; ++face)
    {
        const int axis = face / 2;
        const float plane = Axis(face % 2 == 0 ? aBox.min : aBox.max, axis);
        // Parallel rays divide by zero: an infinity never lands on the box, and a NaN fails every test.
        const float t = (plane - Axis(aRay.origin, axis)) / Axis(aRay.direction, axis);
        if (!(t >= 0.0f))
        {
            continue;
        }
        const Qel::Vector3<float> hit = aRay.origin + aRay.direction * t;
        bool onBox = true;
        for (int other = 0; other < 3 && onBox; ++other)
        {
            if (other != axis)
            {
                const float value = Axis(hit, other);
                onBox = Axis(aBox.min, other) <= value && value <= Axis(aBox.max, other);
            }
        }
        if (onBox)
        {
            outT = t;
            return true;
        }
    }
    outT = std::numeric_limits<float>::infinity();
    return false;
}

Qel::Vector3<float> NormalizeOrZero(const Qel::Vector3<float>& aVector)
{
    const float length = aVector.Length();
    if (length == 0.0f)
    {
        return {0.0f, 0.0f, 0.0f};
    }
    return aVector / length;
}

bool BoxesOverlap(const CollisionBox& aFirst, const CollisionBox& aSecond)
{
    return std::min(aFirst.max.x, aSecond.max.x) >= std::max(aFirst.min.x, aSecond.min.x) &&
           std::min(aFirst.max.y, aSecond.max.y) >= std::max(aFirst.min.y, aSecond.min.y) &&
           std::min(aFirst.max.z, aSecond.max.z) >= std::max(aFirst.min.z, aSecond.min.z);
}

CollisionBox GetObjectBounds(const GameObject& anObject)
{
    CollisionBox box;
    anObject.GetBounds(box.min, box.max);
    return box;
}

CollisionBox GetCollisionBounds(const GameObject& anObject)
{
    if (const BoxColliderComponent* collider = anObject.GetComponent<BoxColliderComponent>())
    {
        CollisionBox box;
        collider->GetWorldBounds(box.min, box.max);
        return box;
    }
    return GetObjectBounds(anObject);
}

CollisionBox GrowBox(const CollisionBox& aBox, float anAmount)
{
    const Qel::Vector3<float> grow{anAmount, anAmount, anAmount};
    return {aBox.min - grow, aBox.max + grow};
}

bool ProbeHits(const CollisionBox& aBox, const Qel::Vector3<float>& anOrigin,
               const Qel::Vector3<float>& aDirection)
{
    // t starts at 0 so that an origin inside the box counts as touching.
    float t = 0.0f;
    if (!RayIntersectBox(aBox, {anOrigin, aDirection}, t))
    {
        return false;
    }
    return t >= 0.0f && std::fabs(t) < PROBE_DISTANCE;
}

void ReadStaticBoxes(const std::vector<GameObject*>& aStatics, StaticBoxes& outBoxes)
{
    outBoxes.objects.clear();
    outBoxes.boxes.clear();
    for (GameObject* solid : aStatics)
    {
        if (solid != nullptr)
        {
            outBoxes.objects.push_back(solid);
            outBoxes.boxes.push_back(GetCollisionBounds(*solid));
        }
    }
}
