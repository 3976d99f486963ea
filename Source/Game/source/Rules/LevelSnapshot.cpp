#include "Rules/LevelSnapshot.h"

#include "Enemies/SchnozAnimator.h"
#include "Enemies/SchnozController.h"
#include "Level/BreakableTile.h"
#include "Objects/GameObject.h"
#include "Rules/ActorTags.h"
#include "Session/BonusLevel.h"
#include "Session/LevelRegistry.h"

void LevelSnapshot::Take(const ObjectList* someObjects, const GameObject* aPlayer)
{
    myRecords.clear();
    myIsTaken = false;
    if (someObjects == nullptr)
    {
        return;
    }
    for (const std::unique_ptr<GameObject>& object : *someObjects)
    {
        if (object.get() == aPlayer || !IsResettableTag(object->GetTag()))
        {
            continue;
        }
        Record record;
        record.tag = object->GetTag();
        const Qel::Transform& transform = object->GetTransform();
        record.position = transform.GetPosition();
        record.rotation = transform.GetRotation();
        record.scale = transform.GetScale();
        object->GetBounds(record.boundsMin, record.boundsMax);
        record.isActive = object->IsActive();
        if (IsEnemyTag(record.tag))
        {
            if (const SchnozController* controller = object->GetComponent<SchnozController>())
            {
                record.hasController = true;
                record.speed = controller->GetSpeed();
                record.hits = controller->GetHp();
                record.isFacingRight = controller->IsFacingRight();
            }
        }
        myRecords[object.get()] = record;
    }
    myIsTaken = !myRecords.empty();
}

void LevelSnapshot::Restore(const ObjectList& someObjects, const GameObject* aPlayer,
                            bool aCheckpointOnly) const
{
    for (const std::unique_ptr<GameObject>& object : someObjects)
    {
        const auto found = myRecords.find(object.get());
        if (object.get() == aPlayer || found == myRecords.end())
        {
            continue;
        }
        const Record& record = found->second;
        const bool isBlock = record.tag == "BreakableBlock";
        if (aCheckpointOnly && !isBlock && !IsEnemyTag(record.tag))
        {
            continue;
        }
        Qel::Transform& transform = object->GetTransform();
        transform.SetPosition(record.position);
        transform.SetRotation(record.rotation);
        transform.SetScale(record.scale);
        object->SetBounds(record.boundsMin, record.boundsMax);
        object->SetActive(record.isActive);
        if (IsEnemyTag(record.tag))
        {
            RestoreEnemy(*object, record);
        }
        else if (isBlock)
        {
            if (BreakableTileController* controller = object->GetComponent<BreakableTileController>())
            {
                controller->ResetBroken();
            }
        }
    }
}

void LevelSnapshot::RestoreEnemy(GameObject& anEnemy, const Record& aRecord)
{
    SchnozController* controller = anEnemy.GetComponent<SchnozController>();
    if (controller != nullptr)
    {
        if (aRecord.hasController)
        {
            controller->Reset(aRecord.speed, aRecord.hits, aRecord.isFacingRight);
        }
        else
        {
            controller->Respawn();
        }
    }
    // The dancing level's enemies keep dancing in place: walking would start their patrol and
    // footsteps, which that level never has.
    if (LevelRegistry::GetInstance().GetCurrentScene() == BONUS_LEVEL_PATH)
    {
        if (controller != nullptr)
        {
            controller->SetEnabled(false);
        }
        return;
    }
    if (SchnozAnimator* animator = anEnemy.GetComponent<SchnozAnimator>())
    {
        animator->StartWalking();
    }
}
