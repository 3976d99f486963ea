// The base of gameplay scripts: a component whose OnStart runs exactly once, before its first
// OnUpdate, whether Init or Update reaches it first.
#pragma once

#include "Objects/Component.h"

class ScriptComponent : public Component
{
public:
    void Init(Qel::Engine* aEngine) override;
    void Update(float aDeltaTime) override;

    virtual void OnStart() {}
    virtual void OnUpdate(float aDeltaTime) { static_cast<void>(aDeltaTime); }

    bool IsStarted() const { return myIsStarted; }

protected:
    // Runs OnStart unless it has run; the flag is set first, so an OnStart that reaches back here
    // does not start twice.
    void EnsureStarted();

private:
    bool myIsStarted = false;
};
