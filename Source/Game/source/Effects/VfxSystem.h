// The world's sprite-sheet effects. Until the effects arrive this system holds no effect: it only
// knows whether it is the process-wide active one. Main thread.
#pragma once

class VfxSystem
{
public:
    void LoadDefinitions() {}
    void ClearAll() {}
    void Update(float aDeltaTime) { static_cast<void>(aDeltaTime); }
    void Render() {}

    // The system effect spawns reach; null for none.
    static void SetActive(VfxSystem* aSystem);
    static VfxSystem* GetActive();
};
