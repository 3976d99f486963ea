// What the world pass draws and in which order, without a device: the layer names, the far-to-near
// sort of the layers, and the culling of static meshes by a model built in memory. The fog and the
// lights the pass sets are drawn through the engine in WorldDrawTests.
#include "Components/AnimatedSpriteComponent.h"
#include "Components/MeshComponent.h"
#include "Objects/GameObject.h"
#include "World/WorldRenderPass.h"
#include "vek/Math/Frustum.h"
#include "vek/graphics/Camera.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
// A model whose meshes are spheres of these centres and radii.
std::shared_ptr<Qel::Model>
MakeSphereModel(const std::vector<std::pair<Qel::Vector3<float>, float>>& someSpheres)
{
    auto model = std::make_shared<Qel::Model>();
    for (const auto& [centre, radius] : someSpheres)
    {
        Qel::MeshData mesh;
        mesh.myBounds.myRadius = radius;
        mesh.myBounds.myCentre[0] = centre.x;
        mesh.myBounds.myCentre[1] = centre.y;
        mesh.myBounds.myCentre[2] = centre.z;
        model->myMeshes.push_back(mesh);
    }
    return model;
}

// A camera at the origin looking along +z, 60 degrees across a square view, seeing 10 to 1000.
Qel::Frustum MakeFrustum()
{
    Qel::Camera camera;
    camera.SetPerspectiveProjection(60.0f, {100.0f, 100.0f}, 10.0f, 1000.0f);
    return Qel::Frustum(camera.GetTransform(), camera.GetProjection(), camera.GetNearPlane(),
                        camera.GetFarPlane());
}

class WorldRenderPassTest : public testing::Test
{
protected:
    GameObject& Add(const std::string& aName, const std::string& aTag = "Untagged", float aZ = 0.0f)
    {
        auto object = std::make_unique<GameObject>(aName);
        object->SetTag(aTag);
        object->GetTransform().SetPosition({0.0f, 0.0f, aZ});
        myObjects.push_back(std::move(object));
        return *myObjects.back();
    }

    MeshComponent& AddSpheres(GameObject& anObject,
                              const std::vector<std::pair<Qel::Vector3<float>, float>>& someSpheres)
    {
        MeshComponent* mesh = anObject.AddComponent<MeshComponent>("fake.fbx");
        mesh->GetModelInstance().Init(MakeSphereModel(someSpheres));
        return *mesh;
    }

    static std::vector<std::string> Names(const std::vector<GameObject*>& someObjects)
    {
        std::vector<std::string> names;
        for (const GameObject* object : someObjects)
        {
            names.push_back(object->GetName());
        }
        return names;
    }

    std::vector<std::unique_ptr<GameObject>> myObjects;
};

TEST(WorldRenderPassLayers, OnlyTheFourLayerNamesDrawInTheLayerPass)
{
    for (const char* name : {"LVL2_MiddleGround", "lvl1parallax", "Lvl3-Parallax", "lvl2parallax"})
    {
        EXPECT_TRUE(IsParallaxLayer(GameObject(name))) << name;
    }
    for (const char* name : {"lvl1middleground", "lvl3middleground", "lvl1parallax2", "Sky", ""})
    {
        EXPECT_FALSE(IsParallaxLayer(GameObject(name))) << name;
    }
}

TEST_F(WorldRenderPassTest, LayersDrawAfterTheRestFarthestFirstAndEqualDepthsInListOrder)
{
    Add("Ground");
    Add("lvl1parallax", "lvl1parallax", 5000.0f).SetName("lvl1parallax");
    Add("LVL1_Parallax", "lvl1parallax", 9000.0f);
    Add("lvl1middleground", "lvl1middleground", 2000.0f);
    Add("lvl2_parallax", "x", 5000.0f);
    Add("lvl3parallax", "x", 9000.0f).SetActive(false);
    const WorldDrawLists lists = CollectWorldDrawLists(myObjects, nullptr);
    EXPECT_EQ(Names(lists.ordinary), (std::vector<std::string>{"Ground", "lvl1middleground"}));
    EXPECT_EQ(Names(lists.layers),
              (std::vector<std::string>{"LVL1_Parallax", "lvl1parallax", "lvl2_parallax"}));
    EXPECT_EQ(lists.fogObjectCount, 0);
}

TEST_F(WorldRenderPassTest, OpaqueObjectsDrawNearestFirstAndSpriteObjectsLastInListOrder)
{
    Add("Far", "Untagged", 500.0f);
    Add("SpriteNear", "Untagged", 10.0f).AddComponent<AnimatedSpriteComponent>("blink");
    Add("Near", "Untagged", 100.0f);
    Add("Behind", "Untagged", -50.0f);
    Add("SpriteFar", "Untagged", 900.0f).AddComponent<AnimatedSpriteComponent>("blink");
    Add("AlsoFar", "Untagged", 500.0f);
    std::vector<GameObject*> objects;
    for (const auto& object : myObjects)
    {
        objects.push_back(object.get());
    }
    // A camera at z -1000 looking along +z.
    Qel::Matrix4x4 worldToView;
    worldToView.SetRow(4, {0.0f, 0.0f, 1000.0f, 1.0f});
    SortOpaqueFrontToBack(objects, worldToView);
    EXPECT_EQ(Names(objects),
              (std::vector<std::string>{"Behind", "Near", "Far", "AlsoFar", "SpriteNear", "SpriteFar"}));
}

TEST_F(WorldRenderPassTest, AMeshIsCulledOnlyWhenEverySubMeshLiesOutside)
{
    const Qel::Frustum frustum = MakeFrustum();
    GameObject& ahead = Add("Ahead", "Untagged", 500.0f);
    MeshComponent& aheadMesh = AddSpheres(ahead, {{{0.0f, 0.0f, 0.0f}, 10.0f}});
    EXPECT_TRUE(IsInViewFrustum(ahead, aheadMesh, frustum));

    GameObject& behind = Add("Behind", "Untagged", -500.0f);
    MeshComponent& behindMesh = AddSpheres(behind, {{{0.0f, 0.0f, 0.0f}, 10.0f}});
    EXPECT_FALSE(IsInViewFrustum(behind, behindMesh, frustum));

    GameObject& side = Add("Side", "Untagged", 500.0f);
    side.GetTransform().SetPosition({400.0f, 0.0f, 500.0f});
    MeshComponent& sideMesh = AddSpheres(side, {{{0.0f, 0.0f, 0.0f}, 10.0f}, {{-400.0f, 0.0f, 0.0f}, 10.0f}});
    EXPECT_TRUE(IsInViewFrustum(side, sideMesh, frustum)) << "the second sub-mesh is in view";

    GameObject& edge = Add("Edge", "Untagged", 500.0f);
    edge.GetTransform().SetPosition({400.0f, 0.0f, 500.0f});
    MeshComponent& edgeMesh = AddSpheres(edge, {{{0.0f, 0.0f, 0.0f}, 10.0f}});
    EXPECT_FALSE(IsInViewFrustum(edge, edgeMesh, frustum));
    edge.GetTransform().SetScale({1.0f, 20.0f, 1.0f});
    EXPECT_TRUE(IsInViewFrustum(edge, edgeMesh, frustum)) << "the largest axis scale grows the sphere";

    behind.GetTransform().SetScale({0.0f, 0.0f, 0.0f});
    EXPECT_TRUE(IsInViewFrustum(behind, behindMesh, frustum)) << "zero scale is never culled";

    GameObject& point = Add("Point", "Untagged", -500.0f);
    MeshComponent& pointMesh = AddSpheres(point, {{{0.0f, 0.0f, 0.0f}, 0.0f}});
    EXPECT_TRUE(IsInViewFrustum(point, pointMesh, frustum)) << "a sub-mesh without a radius is visible";

    MeshComponent unloaded("none.fbx");
    EXPECT_TRUE(IsInViewFrustum(behind, unloaded, frustum));
}

TEST_F(WorldRenderPassTest, CullingLeavesOutOnlyLoadedStaticMeshesOutsideTheView)
{
    const Qel::Frustum frustum = MakeFrustum();
    AddSpheres(Add("Ahead", "Ground", 500.0f), {{{0.0f, 0.0f, 0.0f}, 10.0f}});
    AddSpheres(Add("Behind", "Ground", -500.0f), {{{0.0f, 0.0f, 0.0f}, 10.0f}});
    AddSpheres(Add("lvl1parallax", "lvl1parallax", -500.0f), {{{0.0f, 0.0f, 0.0f}, 10.0f}});
    Add("NoMesh", "Untagged", -500.0f).AddComponent<MeshComponent>("unloaded.fbx");
    Add("Bare", "Untagged", -500.0f);
    const WorldDrawLists culled = CollectWorldDrawLists(myObjects, &frustum);
    EXPECT_EQ(Names(culled.ordinary), (std::vector<std::string>{"Ahead", "NoMesh", "Bare"}));
    EXPECT_TRUE(culled.layers.empty()) << "a culled layer is not drawn either";
    EXPECT_EQ(CollectWorldDrawLists(myObjects, nullptr).ordinary.size(), 4u);
}
} // namespace
