#include "vek/scene/PropertyEditor.h"

#include "vek/stringRegistry/StringRegistry.h"

#include <imgui.h>

#include <algorithm>
#include <cstring>

namespace Qel
{
namespace
{
// U+E082 of the merged icon font; without that font ImGui draws its fallback glyph.
constexpr const char* HELP_GLYPH = "\xEE\x82\x82";
constexpr float TOOLTIP_WRAP_IN_FONT_SIZES = 35.0f;

char theStringIdBuffer[impl::STRING_ID_EDITOR_BUFFER_SIZE];

constexpr float DRAG_SPEED = 1.0f;
constexpr const char* DRAG_FORMAT = "%.3f";
} // namespace

void PropertyEditorLabelColumn(bool aWithSeparator)
{
    ImGui::TableNextRow();
    ImGui::TableSetColumnIndex(0);
    if (aWithSeparator)
    {
        ImGui::Separator();
    }
    ImGui::AlignTextToFramePadding();
}

void PropertyEditorValueColumn(bool aWithSeparator)
{
    ImGui::TableSetColumnIndex(1);
    if (aWithSeparator)
    {
        ImGui::Separator();
    }
    ImGui::SetNextItemWidth(-1.0f);
}

void PropertyEditorHelpMarker(const char* aTooltip)
{
    ImGui::SameLine();
    ImGui::TextDisabled("%s", HELP_GLYPH);
    if (ImGui::IsItemHovered())
    {
        ImGui::BeginTooltip();
        ImGui::PushTextWrapPos(ImGui::GetFontSize() * TOOLTIP_WRAP_IN_FONT_SIZES);
        ImGui::TextUnformatted(aTooltip);
        ImGui::PopTextWrapPos();
        ImGui::EndTooltip();
    }
}

namespace impl
{
bool BeginPropertyRow(const char* aLabel, const char* aTooltip)
{
    if (aLabel == nullptr)
    {
        return false;
    }
    PropertyEditorLabelColumn();
    ImGui::TextUnformatted(aLabel);
    if (aTooltip != nullptr && aTooltip[0] != '\0')
    {
        PropertyEditorHelpMarker(aTooltip);
    }
    PropertyEditorValueColumn();
    ImGui::PushID(aLabel);
    return true;
}

void EndPropertyRow()
{
    ImGui::PopID();
}

bool DrawPropertyWidget(bool& aValue)
{
    bool edited = aValue;
    return ImGui::Checkbox("##", &edited) && CommitIfChanged(aValue, edited);
}

bool DrawPropertyWidget(std::int32_t& aValue)
{
    int edited = aValue;
    return ImGui::DragInt("##", &edited, DRAG_SPEED, 0, 0, "%d") && CommitIfChanged(aValue, edited);
}

bool DrawPropertyWidget(float& aValue)
{
    float edited = aValue;
    return ImGui::DragFloat("##", &edited, DRAG_SPEED, 0.0f, 0.0f, DRAG_FORMAT) &&
           CommitIfChanged(aValue, edited);
}

bool DrawPropertyWidget(Vector2<float>& aValue)
{
    float components[2] = {aValue.x, aValue.y};
    return ImGui::DragFloat2("##", components, DRAG_SPEED, 0.0f, 0.0f, DRAG_FORMAT) &&
           CommitIfChanged(aValue, Vector2<float>(components[0], components[1]));
}

bool DrawPropertyWidget(Vector3<float>& aValue)
{
    float components[3] = {aValue.x, aValue.y, aValue.z};
    return ImGui::DragFloat3("##", components, DRAG_SPEED, 0.0f, 0.0f, DRAG_FORMAT) &&
           CommitIfChanged(aValue, Vector3<float>(components[0], components[1], components[2]));
}

bool DrawPropertyWidget(Vector4<float>& aValue)
{
    float components[4] = {aValue.x, aValue.y, aValue.z, aValue.w};
    return ImGui::DragFloat4("##", components, DRAG_SPEED, 0.0f, 0.0f, DRAG_FORMAT) &&
           CommitIfChanged(aValue,
                           Vector4<float>(components[0], components[1], components[2], components[3]));
}

bool DrawPropertyWidget(Color& aValue)
{
    float components[4] = {aValue.r, aValue.g, aValue.b, aValue.a};
    return ImGui::ColorEdit4("##", components, ImGuiColorEditFlags_Float) &&
           CommitIfChanged(aValue, Color(components[0], components[1], components[2], components[3]));
}

bool DrawPropertyWidget(StringId& aValue)
{
    const std::string_view text = aValue.GetView();
    const std::size_t length = std::min(text.size(), STRING_ID_EDITOR_BUFFER_SIZE - 1);
    std::memcpy(theStringIdBuffer, text.data(), length);
    theStringIdBuffer[length] = '\0';
    theStringIdBuffer[STRING_ID_EDITOR_BUFFER_SIZE - 1] = '\0';
    if (!ImGui::InputText("##", theStringIdBuffer, STRING_ID_EDITOR_BUFFER_SIZE))
    {
        return false;
    }
    return CommitIfChanged(aValue, StringRegistry::RegisterOrGetString(theStringIdBuffer));
}
} // namespace impl
} // namespace Qel
