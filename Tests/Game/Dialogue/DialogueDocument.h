// A state stack over a working folder whose dialogue settings a test writes, so the bubbles, the
// builders and the intro read the lines the test gives them.
#pragma once

#include "Menu/StateStack.h"
#include "Support/WorkingFolder.h"

#include <string>

namespace ScriptedTest
{
inline constexpr const char* LINES = R"({
  "Bubble": "Plain.dds",
  "MeetWisp": {
    "First": {"Text": "one", "BubbleSprite": "A.dds"},
    "Second": {"Text": "two", "BubbleSprite": "B.dds"},
    "Third": {"Text": "three", "BubbleSprite": "C.dds"}
  },
  "Jump": {"Text": "Up you go", "BubbleSprite": "Hint.dds"},
  "Broken": {"Text": 4, "BubbleSprite": "Hint.dds"}
})";

class DialogueStack
{
public:
    explicit DialogueStack(const std::string& aDialogues = LINES)
    {
        myFolder.WriteFile("settings/UISettings.json", "{}");
        myFolder.WriteFile("settings/Dialogues.json", aDialogues);
        myStack.Init();
    }

    StateStack& Stack() { return myStack; }

private:
    QelTest::WorkingFolder myFolder;
    StateStack myStack;
};
} // namespace ScriptedTest
