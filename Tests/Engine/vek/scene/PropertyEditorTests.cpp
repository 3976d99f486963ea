#include "Engine/vek/scene/PropertyTestValue.h"
#include "vek/scene/PropertyEditor.h"
#include "vek/scene/PropertyValue.h"
#include "vek/scene/SceneAssetEditors.h"
#include "vek/scene/SceneAssetJson.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <gtest/gtest.h>
#include <imgui.h>
#include <nlohmann/json.hpp>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace
{
using nlohmann::json;
using QelTest::ValueOf;

Qel::StringId Id(const char* aText)
{
    return Qel::StringRegistry::RegisterOrGetString(aText);
}

// A Dear ImGui context without a window or renderer: frames are built and never drawn.
class HeadlessImGui
{
public:
    HeadlessImGui() : myContext(ImGui::CreateContext())
    {
        ImGuiIO& io = ImGui::GetIO();
        io.DisplaySize = ImVec2(800.0f, 600.0f);
        io.DeltaTime = 1.0f / 60.0f;
        io.IniFilename = nullptr;
        unsigned char* pixels = nullptr;
        int width = 0;
        int height = 0;
        io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
    }
    ~HeadlessImGui() { ImGui::DestroyContext(myContext); }
    HeadlessImGui(const HeadlessImGui&) = delete;
    HeadlessImGui& operator=(const HeadlessImGui&) = delete;

    // One frame with aDraw inside a fixed inspector window's two-column table; returns aDraw's result.
    template <typename Draw>
    bool Frame(Draw aDraw)
    {
        ImGui::NewFrame();
        if (myPayloadType != nullptr)
        {
            if (ImGui::BeginDragDropSource(ImGuiDragDropFlags_SourceExtern |
                                           ImGuiDragDropFlags_SourceNoPreviewTooltip))
            {
                ImGui::SetDragDropPayload(myPayloadType, myPayload.c_str(), myPayload.size() + 1);
                ImGui::EndDragDropSource();
            }
        }
        ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
        ImGui::SetNextWindowSize(ImVec2(600.0f, 500.0f));
        ImGui::Begin("Inspector", nullptr,
                     ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                         ImGuiWindowFlags_NoSavedSettings);
        bool result = false;
        if (ImGui::BeginTable("properties", 2))
        {
            result = aDraw();
            myLastItemMin = ImGui::GetItemRectMin();
            myLastItemMax = ImGui::GetItemRectMax();
            ImGui::EndTable();
        }
        myContentBottom = ImGui::GetCursorPosY();
        ImGui::End();
        ImGui::Render();
        return result;
    }

    void Mouse(ImVec2 aPosition, bool aDown)
    {
        ImGui::GetIO().MousePos = aPosition;
        ImGui::GetIO().MouseDown[0] = aDown;
    }

    // Presses and releases the left button at aPosition, one frame each; true when a frame returned true.
    template <typename Draw>
    bool Click(ImVec2 aPosition, Draw aDraw)
    {
        Mouse(aPosition, true);
        bool changed = Frame(aDraw);
        Mouse(aPosition, false);
        changed = Frame(aDraw) || changed;
        return changed;
    }

    // Drags a payload in from outside the window, holds it over aPosition and releases it there.
    template <typename Draw>
    bool Drop(const char* aType, const std::string& aPayload, ImVec2 aPosition, Draw aDraw)
    {
        myPayloadType = aType;
        myPayload = aPayload;
        Mouse(ImVec2(790.0f, 590.0f), true);
        bool changed = Frame(aDraw);
        Mouse(aPosition, true);
        changed = Frame(aDraw) || changed;
        Mouse(aPosition, false);
        changed = Frame(aDraw) || changed;
        myPayloadType = nullptr;
        Mouse(ImVec2(790.0f, 590.0f), false);
        changed = Frame(aDraw) || changed;
        return changed;
    }

    ImVec2 LastItemCentre() const
    {
        return ImVec2((myLastItemMin.x + myLastItemMax.x) * 0.5f, (myLastItemMin.y + myLastItemMax.y) * 0.5f);
    }

    ImVec2 myLastItemMin;
    ImVec2 myLastItemMax;
    float myContentBottom = 0.0f;

private:
    ImGuiContext* myContext;
    const char* myPayloadType = nullptr;
    std::string myPayload;
};

// Where a drop lands on the path text, found by trying the rows above the "Clear" button (the last
// item the path editors draw) from the bottom up.
template <typename Draw>
std::optional<ImVec2> FindPathDropPoint(HeadlessImGui& aImGui, const char* aType, Draw aDraw)
{
    aImGui.Frame(aDraw);
    const ImVec2 clearMin = aImGui.myLastItemMin;
    for (float offset = 1.0f; offset < 40.0f; offset += 2.0f)
    {
        const ImVec2 point(clearMin.x + 3.0f, clearMin.y - offset);
        if (aImGui.Drop(aType, "probe/found.path", point, aDraw))
        {
            return point;
        }
    }
    return std::nullopt;
}

bool theMeshQueryLoads = true;
std::vector<std::string> theMeshNames;
bool FakeMeshQuery(Qel::StringId, std::vector<std::string>& aMeshNames)
{
    aMeshNames = theMeshNames;
    return theMeshQueryLoads;
}

void ChooseLevel(Qel::StringId& aPath)
{
    aPath = Id("levels/Chosen.vks");
}
} // namespace

TEST(PropertyEditorChanges, FramesWithoutInputReportNoChangeForEveryType)
{
    HeadlessImGui imgui;
    Qel::SetSceneModelMeshQuery(&FakeMeshQuery);
    theMeshNames = {"Body", "Head"};
    // A json form each type reads, by registry index.
    const std::vector<json> forms = {json::object(),
                                     json::object(),
                                     json::object(),
                                     json::object(),
                                     nullptr,
                                     false,
                                     0,
                                     0.0,
                                     json::array({0, 0}),
                                     json::array({0, 0, 0}),
                                     json::array({0, 0, 0, 0}),
                                     json::array({0, 0, 0, 0}),
                                     ""};
    ASSERT_EQ(forms.size(), Qel::PropertyTypeRegistry::GetTypeCount());
    std::vector<Qel::PropertyValue> values;
    for (std::uint32_t index = 0; index < forms.size(); ++index)
    {
        values.emplace_back(Qel::PropertyTypeRegistry::GetType(index), forms[index]);
    }
    values.emplace_back(&Qel::MODEL_PROPERTY_TYPE, json{{"path", "models/Crate.fbx"}});
    std::string longText(300, 'q');
    values.emplace_back(&Qel::STRING_ID_PROPERTY_TYPE, longText);
    const std::vector<Qel::PropertyValue> before = values;
    for (int frame = 0; frame < 3; ++frame)
    {
        for (std::size_t index = 0; index < values.size(); ++index)
        {
            ImGui::GetIO().MousePos = ImVec2(-1.0f, -1.0f);
            const std::string label = "Property " + std::to_string(index);
            EXPECT_FALSE(imgui.Frame([&] { return values[index].DrawEditor(label.c_str(), "a tooltip"); }));
            EXPECT_FALSE(imgui.Frame([&] { return values[index].DrawEditor(nullptr, nullptr); }));
        }
    }
    for (std::size_t index = 0; index < values.size(); ++index)
    {
        json now;
        json was;
        values[index].ToJson(now);
        before[index].ToJson(was);
        EXPECT_EQ(now, was) << index;
    }
    EXPECT_EQ(ValueOf<Qel::StringId>(values.back()).GetView(), longText)
        << "an untouched long text is not cut";
    Qel::SetSceneModelMeshQuery(nullptr);
}

TEST(PropertyEditorChanges, CommitStoresOnlyADifferentValue)
{
    Qel::Vector3<float> value(1.0f, 2.0f, 3.0f);
    EXPECT_FALSE(Qel::impl::CommitIfChanged(value, Qel::Vector3<float>(1.0f, 2.0f, 3.0f)));
    EXPECT_TRUE(Qel::impl::CommitIfChanged(value, Qel::Vector3<float>(1.0f, 2.0f, 3.001f)));
    EXPECT_EQ(value.z, 3.001f);
    Qel::StringId id = Id("same");
    EXPECT_FALSE(Qel::impl::CommitIfChanged(id, Id("same")));
    EXPECT_TRUE(Qel::impl::CommitIfChanged(id, Qel::StringId()));
    EXPECT_TRUE(id.IsNull());
}

TEST(PropertyEditorChanges, DraggingNumbersChangesThemByThePixelsMoved)
{
    HeadlessImGui imgui;
    Qel::PropertyValue speed(&Qel::FLOAT_PROPERTY_TYPE, 10.0);
    const auto drawSpeed = [&]
    {
        return speed.DrawEditor("Speed", nullptr);
    };
    imgui.Frame(drawSpeed);
    const ImVec2 start = imgui.LastItemCentre();
    imgui.Mouse(start, true);
    EXPECT_FALSE(imgui.Frame(drawSpeed)) << "pressing alone changes nothing";
    imgui.Mouse(ImVec2(start.x + 5.0f, start.y), true);
    EXPECT_TRUE(imgui.Frame(drawSpeed));
    EXPECT_FLOAT_EQ(ValueOf<float>(speed), 15.0f);
    EXPECT_FALSE(imgui.Frame(drawSpeed)) << "holding still changes nothing";
    imgui.Mouse(ImVec2(start.x + 5.0f, start.y), false);
    EXPECT_FALSE(imgui.Frame(drawSpeed));
}

TEST(PropertyEditorChanges, DraggingAnIntChangesItByWholeSteps)
{
    HeadlessImGui imgui;
    Qel::PropertyValue lives(&Qel::INT_PROPERTY_TYPE, 3);
    const auto drawLives = [&]
    {
        return lives.DrawEditor("Lives", "how many");
    };
    imgui.Frame(drawLives);
    const ImVec2 livesStart = imgui.LastItemCentre();
    imgui.Mouse(livesStart, true);
    imgui.Frame(drawLives);
    imgui.Mouse(ImVec2(livesStart.x - 5.0f, livesStart.y), true);
    EXPECT_TRUE(imgui.Frame(drawLives));
    EXPECT_EQ(ValueOf<std::int32_t>(lives), -2);
    imgui.Mouse(livesStart, false);
    imgui.Frame(drawLives);
}

TEST(PropertyEditorChanges, TypedTextIsInternedIntoTheStringIdValue)
{
    HeadlessImGui imgui;
    Qel::PropertyValue tag(&Qel::STRING_ID_PROPERTY_TYPE, "Enemy");
    const auto drawTag = [&]
    {
        return tag.DrawEditor("Tag", nullptr);
    };
    imgui.Frame(drawTag);
    // A click right of the text puts the cursor at its end.
    EXPECT_FALSE(imgui.Click(ImVec2(imgui.myLastItemMax.x - 4.0f, imgui.LastItemCentre().y), drawTag));
    ImGui::GetIO().AddInputCharacter('X');
    EXPECT_TRUE(imgui.Frame(drawTag));
    EXPECT_EQ(ValueOf<Qel::StringId>(tag), Id("EnemyX")) << "the edited text is interned";
    EXPECT_FALSE(imgui.Frame(drawTag));
}

TEST(SceneAssetEditors, ADroppedAssetOfTheRightTypeSetsThePath)
{
    HeadlessImGui imgui;
    Qel::SceneReferenceHandle level;
    const Qel::SceneReferenceHandle shared = level;
    const auto drawLevel = [&]
    {
        return Qel::DrawSceneReferenceEditor(level, "Next Level", nullptr);
    };
    const std::optional<ImVec2> point = FindPathDropPoint(imgui, ".vks", drawLevel);
    ASSERT_TRUE(point.has_value()) << "no point of the path row took the drop";
    EXPECT_EQ(level->myScenePath, Id("probe/found.path"));

    EXPECT_FALSE(imgui.Drop(".dds", "textures/wrong.dds", *point, drawLevel))
        << "another file type is refused";
    EXPECT_EQ(level->myScenePath, Id("probe/found.path"));
    EXPECT_TRUE(imgui.Drop(".vks", "levels/L_World1_Level1.vks", *point, drawLevel));
    EXPECT_EQ(level->myScenePath, Id("levels/L_World1_Level1.vks"));
    EXPECT_TRUE(shared->myScenePath.IsNull()) << "the shared default was cloned, not written";
    EXPECT_EQ(level.GetReferenceCount(), 1u);

    Qel::SceneModelHandle model;
    const auto drawModel = [&]
    {
        return Qel::DrawSceneModelEditor(model, "Model", "what is drawn");
    };
    ASSERT_TRUE(FindPathDropPoint(imgui, ".fbx", drawModel).has_value());
    EXPECT_EQ(model->myPath, Id("probe/found.path"));

    Qel::AnimationClipReferenceHandle clip;
    const auto drawClip = [&]
    {
        return Qel::DrawAnimationClipReferenceEditor(clip, "Clip", nullptr);
    };
    ASSERT_TRUE(FindPathDropPoint(imgui, ".vkac", drawClip).has_value());
    EXPECT_EQ(clip->myClipPath, Id("probe/found.path"));
}

TEST(SceneAssetEditors, ClearEmptiesASetPathAndReportsNothingForAnEmptyOne)
{
    HeadlessImGui imgui;
    Qel::SceneReferenceHandle level;
    Qel::SceneReferenceFromJson(level, json{{"scene_path", "levels/A.vks"}});
    const Qel::SceneReferenceHandle other = level;
    const auto drawLevel = [&]
    {
        return Qel::DrawSceneReferenceEditor(level, "Next Level", nullptr);
    };
    imgui.Frame(drawLevel);
    const ImVec2 clear = imgui.LastItemCentre();
    EXPECT_TRUE(imgui.Click(clear, drawLevel));
    EXPECT_TRUE(level->myScenePath.IsNull());
    EXPECT_EQ(other->myScenePath, Id("levels/A.vks")) << "the other holder keeps its path";
    const Qel::SceneReference* object = level.GetObject();
    EXPECT_FALSE(imgui.Click(clear, drawLevel));
    EXPECT_EQ(level.GetObject(), object) << "nothing was written";
}

TEST(SceneAssetEditors, TheAssetBrowserButtonStoresTheChosenPath)
{
    HeadlessImGui imgui;
    Qel::SetAssetBrowserCallback(&ChooseLevel);
    Qel::SceneReferenceHandle level;
    const auto drawLevel = [&]
    {
        return Qel::DrawSceneReferenceEditor(level, "Next Level", nullptr);
    };
    imgui.Frame(drawLevel);
    // The button sits just left of "Clear" on the same line.
    const ImVec2 button(imgui.myLastItemMin.x - 12.0f, imgui.LastItemCentre().y);
    EXPECT_TRUE(imgui.Click(button, drawLevel));
    EXPECT_EQ(level->myScenePath, Id("levels/Chosen.vks"));
    EXPECT_FALSE(imgui.Click(button, drawLevel)) << "the same path again is no change";
    Qel::SetAssetBrowserCallback(nullptr);
}

TEST(SceneAssetEditors, TheSpritePivotIsDraggedOnAPrivateCopy)
{
    HeadlessImGui imgui;
    Qel::PropertyValue sprite(&Qel::SPRITE_PROPERTY_TYPE, json{{"texturePath", "ui/coin.dds"}});
    const Qel::PropertyValue other = sprite;
    const auto drawSprite = [&]
    {
        return sprite.DrawEditor("Icon", nullptr);
    };
    imgui.Frame(drawSprite);
    // The pivot drag is the last widget of the sprite editor.
    const ImVec2 start = imgui.LastItemCentre();
    const ImVec2 firstComponent(imgui.myLastItemMin.x + 10.0f, start.y);
    imgui.Mouse(firstComponent, true);
    EXPECT_FALSE(imgui.Frame(drawSprite));
    imgui.Mouse(ImVec2(firstComponent.x + 5.0f, start.y), true);
    EXPECT_TRUE(imgui.Frame(drawSprite));
    imgui.Mouse(firstComponent, false);
    imgui.Frame(drawSprite);
    const Qel::SceneSprite& edited = ValueOf<Qel::SceneSpriteHandle>(sprite).Get();
    EXPECT_FLOAT_EQ(edited.myPivot.x, 5.5f);
    EXPECT_FLOAT_EQ(edited.myPivot.y, 0.5f);
    EXPECT_EQ(edited.mySize, Qel::Vector2<float>(100.0f, 100.0f));
    EXPECT_EQ(edited.myTextures[0], Id("ui/coin.dds"));
    EXPECT_EQ(ValueOf<Qel::SceneSpriteHandle>(other)->myPivot, Qel::Vector2<float>(0.5f, 0.5f));
}

TEST(SceneAssetEditors, TheModelShowsTexturesOnlyWhenItLoadsAndListsMeshesWhenThereAreSeveral)
{
    HeadlessImGui imgui;
    Qel::SetSceneModelMeshQuery(&FakeMeshQuery);
    Qel::SceneModelHandle model;
    Qel::SceneModelFromJson(model, json{{"path", "models/Crate.fbx"}});
    // Opens or closes the tree node the way a click would, through the window's state storage.
    const auto setTexturesOpen = [](bool aOpen)
    {
        ImGui::PushID("Model");
        ImGui::GetStateStorage()->SetInt(ImGui::GetID("Textures"), aOpen ? 1 : 0);
        ImGui::PopID();
    };
    const auto heightWith = [&](bool aLoads, std::vector<std::string> aMeshes, bool aOpen)
    {
        theMeshQueryLoads = aLoads;
        theMeshNames = std::move(aMeshes);
        const auto draw = [&]
        {
            setTexturesOpen(aOpen);
            return Qel::DrawSceneModelEditor(model, "Model", nullptr);
        };
        imgui.Frame(draw);
        imgui.Frame(draw);
        return imgui.myContentBottom;
    };
    const float unloadable = heightWith(false, {"Cube"}, true);
    const float closed = heightWith(true, {"Cube"}, false);
    const float oneMesh = heightWith(true, {"Cube"}, true);
    const float twoMeshes = heightWith(true, {"Body", "Head"}, true);
    const float noMeshes = heightWith(true, {}, true);
    EXPECT_GT(closed, unloadable) << "a loadable model adds the \"Textures\" row";
    EXPECT_GT(oneMesh, closed) << "one mesh shows its slot rows directly";
    EXPECT_GT(twoMeshes, closed) << "two meshes show one row each";
    EXPECT_LT(twoMeshes, oneMesh) << "their slot rows stay closed";
    EXPECT_EQ(noMeshes, closed);
    Qel::SetSceneModelMeshQuery(nullptr);
    theMeshQueryLoads = true;
}
