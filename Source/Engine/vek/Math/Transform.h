// A node of a transform hierarchy: position, rotation and scale with a cached local matrix that is
// rebuilt only after a change. The parent is borrowed, not owned, and must outlive its children.
// Not thread-safe: reading the world matrix may rebuild caches.
#pragma once

#include "vek/Math/Matrix4x4.h"
#include "vek/Math/Quaternion.h"
#include "vek/Math/Vector3.h"

namespace Qel
{
class Transform
{
public:
    Transform() = default;

    const Vector3<float>& GetPosition() const { return myPosition; }
    const Quaternion& GetRotation() const { return myRotation; }
    const Vector3<float>& GetScale() const { return myScale; }
    Transform* GetParent() const { return myParent; }

    void SetPosition(const Vector3<float>& aPosition);
    void SetRotation(const Quaternion& aRotation);
    void SetScale(const Vector3<float>& aScale);

    // Refuses (with an assertion) a parent that would make the hierarchy a loop. Null detaches.
    bool SetParent(Transform* aParent);

    // The local matrix (scale, rotation, translation) times the parent's world matrix, up to the root.
    // Only the local matrix is cached, so deep chains recompute their parents on every call.
    Matrix4x4 GetWorldMatrix();
    const Matrix4x4& GetLocalMatrix();

private:
    Vector3<float> myPosition;
    Quaternion myRotation;
    Vector3<float> myScale{1.0f, 1.0f, 1.0f};
    Matrix4x4 myLocalMatrix;
    bool myIsDirty = true;
    Transform* myParent = nullptr;
};
} // namespace Qel
