#include "Enemies/Schnoz.h"

#include "Collision/BoxColliderComponent.h"
#include "Enemies/SchnozController.h"

#include <utility>

SchnozObject::SchnozObject(std::string aName, const Qel::Vector3<float>& aKnockbackForce)
    : GameObject(std::move(aName)), myKnockbackForce(aKnockbackForce)
{
}

void SchnozObject::Start(Qel::Engine* aEngine)
{
    SchnozController* controller = GetComponent<SchnozController>();
    if (controller == nullptr)
    {
        controller = AddComponent<SchnozController>();
        controller->SetKnockbackForce(myKnockbackForce);
    }
    myController = controller;
    if (GetComponent<BoxColliderComponent>() == nullptr)
    {
        AddComponent<BoxColliderComponent>(Qel::Vector3<float>{50.0f, 50.0f, 50.0f}, Qel::Vector3<float>{0.0f, 0.0f, 0.0f},
                                           false, false);
    }
    GameObject::Start(aEngine);
}
