// Where the level's enemies, breakable blocks and pickups stood when it was composed, and whether each
// was active, with each enemy's patrol (speed, facing) and armour: what a death puts back. Main thread.
#pragma once

#include "vek/Math/Quaternion.h"
#include "vek/Math/Vector3.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class GameObject;

class LevelSnapshot
{
public:
    using ObjectList = std::vector<std::unique_ptr<GameObject>>;

    // Forgets the last snapshot and remembers every resettable object of someObjects but the player;
    // nothing without a list.
    void Take(const ObjectList* someObjects, const GameObject* aPlayer);
    // Puts the remembered objects of someObjects back, enemies walking their remembered patrol again;
    // with aCheckpointOnly only enemies and blocks.
    void Restore(const ObjectList& someObjects, const GameObject* aPlayer, bool aCheckpointOnly) const;
    // False until a snapshot remembered at least one object.
    bool IsTaken() const { return myIsTaken; }

private:
    struct Record
    {
        std::string tag;
        Qel::Vector3<float> position;
        Qel::Quaternion rotation;
        Qel::Vector3<float> scale;
        Qel::Vector3<float> boundsMin;
        Qel::Vector3<float> boundsMax;
        bool isActive = true;
        // An enemy's patrol as its controller had it.
        bool hasController = false;
        float speed = 0.0f;
        int hits = 0;
        bool isFacingRight = false;
    };

    static void RestoreEnemy(GameObject& anEnemy, const Record& aRecord);

    std::unordered_map<const GameObject*, Record> myRecords;
    bool myIsTaken = false;
};
