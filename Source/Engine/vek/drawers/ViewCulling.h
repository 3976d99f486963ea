// Whether a mesh drawn under a camera can reach the screen: its bounding sphere, moved by the object
// transform (and for a skinned draw widened to every place its palette can blend a vertex to), against
// the camera's view frustum. Only a symmetric perspective camera culls; anything else, a mesh without
// bounds and a transform that is not finite are always drawn, so a draw is left out only when none of
// its triangles could have covered a pixel. Pure maths.
#pragma once

#include "vek/Math/Frustum.h"
#include "vek/graphics/Camera.h"
#include "vek/model/Mesh.h"
#include "vek/model/Pose.h"

#include <optional>

namespace Qel
{
class ViewCuller
{
public:
    explicit ViewCuller(const Camera& aCamera);

    // aBones null for a static draw.
    bool IsVisible(const MeshBounds& aBounds, const Matrix4x4& anObjectTransform,
                   const BonePalette* aBones) const;

private:
    std::optional<Frustum> myFrustum;
};
} // namespace Qel
