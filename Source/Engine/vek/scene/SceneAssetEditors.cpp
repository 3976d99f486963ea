#include "vek/scene/SceneAssetEditors.h"

#include "vek/scene/PropertyEditor.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <imgui.h>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace Qel
{
namespace
{
std::atomic<AssetBrowserCallback> theAssetBrowserCallback{nullptr};
std::atomic<SceneModelMeshQuery> theSceneModelMeshQuery{nullptr};

constexpr const char* MODEL_TEXTURE_LABELS[TEXTURE_SLOT_COUNT] = {"[0] Color", "[1] Normal", "[2] Material",
                                                                  "[3] Effects"};
constexpr const char* SPRITE_TEXTURE_LABELS[TEXTURE_SLOT_COUNT] = {
    "[0] Color Texture", "[1] Normal Texture", "[2] Material Texture", "[3] Effects Texture"};

void DrawPathText(StringId aPath)
{
    ImGui::TextUnformatted(aPath.IsNull() ? "None" : aPath.GetText());
}

// The path text as a drop target for payloads of aPayloadType; the payload is read up to its first NUL
// and never past its size.
void AcceptDroppedPath(const char* aPayloadType, StringId& aPath)
{
    if (!ImGui::BeginDragDropTarget())
    {
        return;
    }
    if (const ImGuiPayload* payload = ImGui::AcceptDragDropPayload(aPayloadType);
        payload != nullptr && payload->Data != nullptr && payload->DataSize > 0)
    {
        const char* text = static_cast<const char*>(payload->Data);
        const std::size_t size = static_cast<std::size_t>(payload->DataSize);
        aPath = StringRegistry::RegisterOrGetString(std::string_view(text, strnlen(text, size)));
    }
    ImGui::EndDragDropTarget();
}

// The "Set From AssetBrowser" and "Clear" buttons in a row of their own.
void DrawPathButtons(StringId& aPath)
{
    PropertyEditorLabelColumn(false);
    PropertyEditorValueColumn(false);
    if (const AssetBrowserCallback callback = theAssetBrowserCallback.load(); callback != nullptr)
    {
        if (ImGui::Button("Set From AssetBrowser"))
        {
            StringId chosen;
            callback(chosen);
            aPath = chosen;
        }
        ImGui::SameLine();
    }
    if (ImGui::Button("Clear") && !aPath.IsNull())
    {
        aPath = StringId();
    }
}

// A labelled path row (aLabel in the label column, indented) with its drop target and buttons.
void DrawPathRow(const char* aLabel, const char* aPayloadType, StringId& aPath)
{
    PropertyEditorLabelColumn(false);
    ImGui::Indent();
    ImGui::TextUnformatted(aLabel);
    ImGui::Unindent();
    PropertyEditorValueColumn(false);
    DrawPathText(aPath);
    AcceptDroppedPath(aPayloadType, aPath);
    DrawPathButtons(aPath);
}

void DrawTextureSlotRows(const char* const (&aLabels)[TEXTURE_SLOT_COUNT],
                         std::array<StringId, TEXTURE_SLOT_COUNT>& aSlots)
{
    for (std::size_t slot = 0; slot < TEXTURE_SLOT_COUNT; ++slot)
    {
        ImGui::PushID(static_cast<int>(slot));
        DrawPathRow(aLabels[slot], ".dds", aSlots[slot]);
        ImGui::PopID();
    }
}

void DrawModelTextures(SceneModel& aModel)
{
    const SceneModelMeshQuery query = theSceneModelMeshQuery.load();
    std::vector<std::string> meshNames;
    if (query == nullptr || !query(aModel.myPath, meshNames))
    {
        return;
    }
    PropertyEditorLabelColumn(false);
    if (!ImGui::TreeNode("Textures"))
    {
        return;
    }
    const std::size_t meshCount = std::min(meshNames.size(), MAX_MESHES_PER_MODEL);
    for (std::size_t mesh = 0; mesh < meshCount; ++mesh)
    {
        ImGui::PushID(static_cast<int>(mesh));
        if (meshCount == 1)
        {
            DrawTextureSlotRows(MODEL_TEXTURE_LABELS, aModel.myTextures[mesh]);
        }
        else
        {
            PropertyEditorLabelColumn(false);
            if (ImGui::TreeNode(meshNames[mesh].c_str()))
            {
                DrawTextureSlotRows(MODEL_TEXTURE_LABELS, aModel.myTextures[mesh]);
                ImGui::TreePop();
            }
        }
        ImGui::PopID();
    }
    ImGui::TreePop();
}

// Edits a copy of the record and writes it back through GetMutable only when something differs.
template <typename T, typename DrawRows>
bool EditRecord(CopyOnWriteWrapper<T>& aHandle, const char* aLabel, const char* aTooltip, DrawRows aDrawRows)
{
    T edited = aHandle.Get();
    PropertyEditorLabelColumn();
    ImGui::TextUnformatted(aLabel);
    if (aTooltip != nullptr && aTooltip[0] != '\0')
    {
        PropertyEditorHelpMarker(aTooltip);
    }
    ImGui::PushID(aLabel);
    aDrawRows(edited);
    ImGui::PopID();
    if (edited == aHandle.Get())
    {
        return false;
    }
    aHandle.GetMutable() = edited;
    return true;
}

} // namespace

void SetAssetBrowserCallback(AssetBrowserCallback aCallback)
{
    theAssetBrowserCallback.store(aCallback);
}

AssetBrowserCallback GetAssetBrowserCallback()
{
    return theAssetBrowserCallback.load();
}

void SetSceneModelMeshQuery(SceneModelMeshQuery aQuery)
{
    theSceneModelMeshQuery.store(aQuery);
}

bool DrawSceneModelEditor(SceneModelHandle& aHandle, const char* aLabel, const char* aTooltip)
{
    if (aLabel == nullptr)
    {
        DrawPathText(aHandle->myPath);
        return false;
    }
    return EditRecord(aHandle, aLabel, aTooltip,
                      [](SceneModel& aModel)
                      {
                          DrawPathRow("Path", ".fbx", aModel.myPath);
                          if (!aModel.myPath.IsNull())
                          {
                              DrawModelTextures(aModel);
                          }
                      });
}

bool DrawSceneSpriteEditor(SceneSpriteHandle& aHandle, const char* aLabel, const char* aTooltip)
{
    if (aLabel == nullptr)
    {
        DrawPathText(aHandle->myTextures[0]);
        return false;
    }
    return EditRecord(aHandle, aLabel, aTooltip,
                      [](SceneSprite& aSprite)
                      {
                          DrawTextureSlotRows(SPRITE_TEXTURE_LABELS, aSprite.myTextures);
                          ImGui::TableNextRow();
                          PropertyEditorLabelColumn();
                          ImGui::TextUnformatted("Size");
                          PropertyEditorValueColumn();
                          float size[2] = {aSprite.mySize.x, aSprite.mySize.y};
                          if (ImGui::DragFloat2("##size", size, 1.0f, 0.0f, 0.0f, "%.3f"))
                          {
                              aSprite.mySize = Vector2<float>(size[0], size[1]);
                          }
                          PropertyEditorLabelColumn();
                          ImGui::TextUnformatted("Pivot");
                          PropertyEditorValueColumn();
                          float pivot[2] = {aSprite.myPivot.x, aSprite.myPivot.y};
                          if (ImGui::DragFloat2("##pivot", pivot, 1.0f, 0.0f, 0.0f, "%.3f"))
                          {
                              aSprite.myPivot = Vector2<float>(pivot[0], pivot[1]);
                          }
                      });
}

bool DrawSceneReferenceEditor(SceneReferenceHandle& aHandle, const char* aLabel, const char* aTooltip)
{
    if (aLabel == nullptr)
    {
        DrawPathText(aHandle->myScenePath);
        return false;
    }
    return EditRecord(aHandle, aLabel, aTooltip,
                      [](SceneReference& aReference)
                      { DrawPathRow("Path", ".vks", aReference.myScenePath); });
}

bool DrawAnimationClipReferenceEditor(AnimationClipReferenceHandle& aHandle, const char* aLabel,
                                      const char* aTooltip)
{
    if (aLabel == nullptr)
    {
        DrawPathText(aHandle->myClipPath);
        return false;
    }
    return EditRecord(aHandle, aLabel, aTooltip,
                      [](AnimationClipReference& aReference)
                      { DrawPathRow("Path", ".vkac", aReference.myClipPath); });
}
} // namespace Qel
