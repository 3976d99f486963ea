#include "MatrixTestHelpers.h"
#include "Support/AssertCapture.h"
#include "vek/Math/Transform.h"

#include <gtest/gtest.h>

#include <cmath>

using Qel::Matrix4x4;
using Qel::Quaternion;
using Qel::Transform;
using Qel::Vector4;
using QelTest::ExpectMatrixNear;

namespace
{
const float HALF = std::sqrt(0.5f);
const Quaternion QUARTER_TURN_ABOUT_Z(HALF, 0, 0, HALF);
} // namespace

TEST(TransformNode, ADefaultNodeIsTheIdentity)
{
    Transform node;
    EXPECT_EQ(node.GetWorldMatrix(), Matrix4x4());
}

TEST(TransformNode, LocalMatrixMatchesComposeForTheSameRotation)
{
    Transform node;
    node.SetPosition({1, 2, 3});
    node.SetRotation(QUARTER_TURN_ABOUT_Z);
    node.SetScale({2, 3, 4});
    ExpectMatrixNear(node.GetWorldMatrix(), Qel::ComposeTransformMatrix({1, 2, 3}, {0, 0, 90}, {2, 3, 4}));
}

TEST(TransformNode, ChangesRebuildTheCachedLocalMatrix)
{
    Transform node;
    node.SetPosition({1, 0, 0});
    EXPECT_EQ(node.GetLocalMatrix()(4, 1), 1.0f);
    node.SetPosition({5, 0, 0});
    EXPECT_EQ(node.GetLocalMatrix()(4, 1), 5.0f);
    node.SetScale({3, 3, 3});
    EXPECT_EQ(node.GetLocalMatrix()(1, 1), 3.0f);
}

TEST(TransformHierarchy, WorldIsLocalTimesTheParentsWorld)
{
    Transform root;
    root.SetPosition({0, 10, 0});
    root.SetRotation(QUARTER_TURN_ABOUT_Z);
    Transform child;
    child.SetPosition({5, 0, 0});
    ASSERT_TRUE(child.SetParent(&root));
    Transform grandChild;
    grandChild.SetScale({2, 2, 2});
    ASSERT_TRUE(grandChild.SetParent(&child));

    // The child's offset along x is turned onto y by the root, then lifted by the root's position.
    const Vector4<float> origin = Vector4<float>(0, 0, 0, 1) * child.GetWorldMatrix();
    EXPECT_NEAR(origin.x, 0.0f, 1e-5f);
    EXPECT_NEAR(origin.y, 15.0f, 1e-5f);
    ExpectMatrixNear(grandChild.GetWorldMatrix(),
                     grandChild.GetLocalMatrix() * child.GetLocalMatrix() * root.GetLocalMatrix());

    // Moving the root moves the descendants although their own matrices are unchanged.
    root.SetPosition({0, 20, 0});
    const Vector4<float> moved = Vector4<float>(0, 0, 0, 1) * grandChild.GetWorldMatrix();
    EXPECT_NEAR(moved.y, 25.0f, 1e-5f);
}

TEST(TransformHierarchy, LoopsAreRefused)
{
    QelTest::AssertCapture capture;
    Transform a;
    Transform b;
    ASSERT_TRUE(b.SetParent(&a));
    EXPECT_FALSE(a.SetParent(&b));
    EXPECT_FALSE(a.SetParent(&a));
    EXPECT_EQ(a.GetParent(), nullptr);
    EXPECT_EQ(capture.GetCount(), 2);
    EXPECT_EQ(a.GetWorldMatrix(), Matrix4x4());
    EXPECT_TRUE(b.SetParent(nullptr));
}
