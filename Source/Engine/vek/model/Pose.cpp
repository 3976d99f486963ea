#include "vek/model/Pose.h"

namespace Qel
{
Matrix4x4 JointTransform::GetMatrix() const
{
    // S x R with S diagonal is R with each row scaled.
    Matrix4x4 result = Matrix4x4::CreateRotation(myRotation);
    const float scales[3] = {myScale.x, myScale.y, myScale.z};
    for (int row = 1; row <= 3; ++row)
    {
        for (int column = 1; column <= 3; ++column)
        {
            result(row, column) *= scales[row - 1];
        }
    }
    result(4, 1) = myPosition.x;
    result(4, 2) = myPosition.y;
    result(4, 3) = myPosition.z;
    return result;
}
} // namespace Qel
