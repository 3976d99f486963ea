#include "vek/Math/Transform.h"

#include "vek/Core/Assert.h"

namespace Qel
{
void Transform::SetPosition(const Vector3<float>& aPosition)
{
    myPosition = aPosition;
    myIsDirty = true;
}

void Transform::SetRotation(const Quaternion& aRotation)
{
    myRotation = aRotation;
    myIsDirty = true;
}

void Transform::SetScale(const Vector3<float>& aScale)
{
    myScale = aScale;
    myIsDirty = true;
}

bool Transform::SetParent(Transform* aParent)
{
    for (const Transform* ancestor = aParent; ancestor != nullptr; ancestor = ancestor->myParent)
    {
        if (ancestor == this)
        {
            QEL_ASSERT(false && "A transform cannot become its own ancestor");
            return false;
        }
    }
    myParent = aParent;
    return true;
}

const Matrix4x4& Transform::GetLocalMatrix()
{
    if (myIsDirty)
    {
        myLocalMatrix = Matrix4x4::CreateScale(myScale) * Matrix4x4::CreateRotation(myRotation) *
                        Matrix4x4::CreateTranslation(myPosition);
        myIsDirty = false;
    }
    return myLocalMatrix;
}

Matrix4x4 Transform::GetWorldMatrix()
{
    const Matrix4x4& local = GetLocalMatrix();
    return myParent == nullptr ? local : local * myParent->GetWorldMatrix();
}
} // namespace Qel
