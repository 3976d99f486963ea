// Inspector rows for property values, drawn with Dear ImGui inside a two-column table that the caller
// has begun, in an ImGui frame the caller owns. The game itself never makes an ImGui context.
//
// Editors run on the thread that owns the ImGui context. Each returns true only when the widget reported
// an edit and the value now differs from the value on entry.
#pragma once

#include "vek/Math/Color.h"
#include "vek/Math/Vector2.h"
#include "vek/Math/Vector3.h"
#include "vek/Math/Vector4.h"
#include "vek/scene/PoseAndMotion.h"
#include "vek/stringRegistry/StringId.h"

#include <cstddef>
#include <cstdint>

namespace Qel
{
// Next table row, column 0, optionally a separator line, text aligned to the frame padding.
void PropertyEditorLabelColumn(bool aWithSeparator = true);
// Column 1, optionally a separator line, and the next widget fills the column.
void PropertyEditorValueColumn(bool aWithSeparator = true);
// The disabled help glyph on the current line; hovering it shows aTooltip wrapped at 35 font sizes.
void PropertyEditorHelpMarker(const char* aTooltip);

namespace impl
{
// The text buffer that every "StringId" editor row shares.
inline constexpr std::size_t STRING_ID_EDITOR_BUFFER_SIZE = 256;

// The label row, its help marker for a non-empty tooltip, the value column and the id scope of aLabel.
// False (and nothing drawn) without a label; a true result must be closed with EndPropertyRow.
bool BeginPropertyRow(const char* aLabel, const char* aTooltip);
void EndPropertyRow();

// Stores aEdited when it differs; true when it did.
template <typename T>
bool CommitIfChanged(T& aValue, const T& aEdited)
{
    if (aValue == aEdited)
    {
        return false;
    }
    aValue = aEdited;
    return true;
}

// The widgets alone, drawn wherever the caller stands, with the hidden label "##".
bool DrawPropertyWidget(bool& aValue);
bool DrawPropertyWidget(std::int32_t& aValue);
bool DrawPropertyWidget(float& aValue);
bool DrawPropertyWidget(Vector2<float>& aValue);
bool DrawPropertyWidget(Vector3<float>& aValue);
bool DrawPropertyWidget(Vector4<float>& aValue);
bool DrawPropertyWidget(Color& aValue);
bool DrawPropertyWidget(StringId& aValue);
} // namespace impl
} // namespace Qel
