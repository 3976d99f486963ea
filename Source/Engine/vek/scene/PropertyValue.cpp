#include "vek/scene/PropertyValue.h"

#include <nlohmann/json.hpp>

namespace Qel
{
PropertyValue::PropertyValue(const PropertyTypeBase* aType, const nlohmann::json& aJson)
{
    if (aType == nullptr)
    {
        return;
    }
    aType->DefaultConstruct(myStorage);
    try
    {
        aType->FromJson(myStorage, aJson);
    }
    catch (...)
    {
        aType->Destroy(myStorage);
        throw;
    }
    myType = aType;
}

PropertyValue::PropertyValue(const PropertyValue& aOther) : myType(aOther.myType)
{
    if (myType != nullptr)
    {
        myType->CopyConstruct(aOther.myStorage, myStorage);
    }
}

PropertyValue::PropertyValue(PropertyValue&& aOther) noexcept : myType(aOther.myType)
{
    if (myType != nullptr)
    {
        myType->MoveConstruct(aOther.myStorage, myStorage);
    }
}

PropertyValue& PropertyValue::operator=(const PropertyValue& aOther)
{
    if (this != &aOther)
    {
        if (myType != nullptr)
        {
            myType->Destroy(myStorage);
        }
        myType = aOther.myType;
        if (myType != nullptr)
        {
            myType->CopyConstruct(aOther.myStorage, myStorage);
        }
    }
    return *this;
}

PropertyValue& PropertyValue::operator=(PropertyValue&& aOther) noexcept
{
    if (this != &aOther)
    {
        if (myType != nullptr)
        {
            myType->Destroy(myStorage);
        }
        myType = aOther.myType;
        if (myType != nullptr)
        {
            myType->MoveConstruct(aOther.myStorage, myStorage);
        }
    }
    return *this;
}

PropertyValue::~PropertyValue()
{
    if (myType != nullptr)
    {
        myType->Destroy(myStorage);
    }
}

void PropertyValue::ToJson(nlohmann::json& aOut) const
{
    if (myType == nullptr)
    {
        aOut = nullptr;
        return;
    }
    myType->ToJson(myStorage, aOut);
}

bool PropertyValue::DrawEditor(const char* aLabel, const char* aTooltip)
{
    return myType != nullptr && myType->DrawEditor(myStorage, aLabel, aTooltip);
}
} // namespace Qel
