// The lookups the contact rules make on other objects: the object's first component of a kind, or null
// (also for a null object).
#pragma once

class GameObject;
class DamageableComponent;
class SphereColliderComponent;
class MeshComponent;

DamageableComponent* GetDamageableComponent(const GameObject* anObject);
SphereColliderComponent* GetSphereColliderComponent(const GameObject* anObject);
MeshComponent* GetMeshComponent(const GameObject* anObject);
