// Property values read straight from a simdjson document, so the packed cache builds its objects
// without a json library value per property. Accepts and rejects exactly what the property types' own
// json readers do and gives the same values; a rejection throws PropertyReadError, since the cache
// reader only needs to know that a value failed (the parse that follows reports it properly).
#pragma once

#include "vek/scene/PropertyValue.h"
#include "vek/scene/SimdjsonElements.h"

#include <simdjson.h>

namespace Qel::impl
{
using PropertyReadError = SimdjsonReadError;

// aType's value read from aJson; the empty value for a null aType, whose json is not read.
PropertyValue ReadPropertyValue(const PropertyTypeBase* aType, simdjson::dom::element aJson);
} // namespace Qel::impl
