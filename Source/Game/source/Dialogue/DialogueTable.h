// Checked look-ups in the loaded dialogue document: a key that is missing, or a value of the wrong
// kind, gives nothing instead of failing, so a level never falls over on a line.
#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

struct DialogueLine
{
    std::string text;
    std::string bubbleSprite;
};

// The state stack's dialogue document; null while there is no stack.
const nlohmann::json* GetDialogueDocument();

// aDocument[aKey], an object with the strings "Text" and "BubbleSprite".
std::optional<DialogueLine> FindDialogueLine(const nlohmann::json* aDocument, const std::string& aKey);
// aDocument[aGroup][aKey], as above.
std::optional<DialogueLine> FindDialogueLine(const nlohmann::json* aDocument, const std::string& aGroup,
                                             const std::string& aKey);
// The top-level "Bubble" string: the default bubble picture.
std::optional<std::string> FindDefaultBubblePicture(const nlohmann::json* aDocument);
