// The two walking enemies as game objects of their own: the small one ("Schnoz_II") and the armoured
// one ("Schnoz_III"). Both make sure, when they start, that they have a controller and a box.
#pragma once

#include "Objects/GameObject.h"
#include "vek/Math/Vector3.h"

#include <string>

class SchnozController;

class SchnozObject : public GameObject
{
public:
    SchnozObject(std::string aName, const Qel::Vector3<float>& aKnockbackForce);

    // Adds a controller (with this enemy's knockback) and a 50-unit box when the builder gave none,
    // then starts as every object does.
    void Start(Qel::Engine* aEngine) override;

    SchnozController* GetController() const { return myController; }
    const Qel::Vector3<float>& GetKnockbackForce() const { return myKnockbackForce; }

private:
    SchnozController* myController = nullptr;
    Qel::Vector3<float> myKnockbackForce;
};

class Schnoz_II : public SchnozObject
{
public:
    using SchnozObject::SchnozObject;
};

class Schnoz_III : public SchnozObject
{
public:
    using SchnozObject::SchnozObject;
};
