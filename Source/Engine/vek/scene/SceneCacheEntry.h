// The entries of a packed cache's parsed document: checked views of its values, and one entry of
// "objects" read with its texts still viewing the document. Anything the writer would never have
// written throws DamagedCache or SimdjsonReadError. Only reads the document, so entries may be read side by
// side.
#pragma once

#include "vek/scene/ParsedSceneObject.h"
#include "vek/scene/SceneObjectBuilder.h"
#include "vek/scene/SimdjsonElements.h"

#include <simdjson.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Qel::impl
{
namespace dom = simdjson::dom;

// Anything in the file that the writer would never have written (SimdjsonReadError too).
struct DamagedCache
{
};

// Checked reads of an element.
std::int64_t ReadSigned(dom::element aElement);
std::string_view ReadString(dom::element aElement);

// One property element of an entry, its value still in the document.
struct CacheProperty
{
    std::string_view myName;
    std::string_view myTypeName;
    dom::element myValue;
};

CacheProperty ReadProperty(dom::element aElement);

// One entry of "objects", its texts viewing the document.
struct CacheEntry : ParsedTransform
{
    const char* myUuid = nullptr;
    std::string_view myName = "unknown";
    std::string_view myPath;
    std::string_view myObjectDefinition;
    // Not to be walked while the count is 0: a default array views no document.
    dom::array myProperties;
    std::size_t myPropertyCount = 0;

    // aIntern turns a text into its StringId.
    template <typename Intern>
    SceneObjectFrame GetFrame(Intern& aIntern) const
    {
        return SceneObjectFrame{myName, aIntern(myPath), aIntern(myObjectDefinition), this};
    }
};

CacheEntry ReadEntry(dom::element aElement);

// The entry as a record, property values converted to the json library's values.
ParsedSceneObject ToRecord(const CacheEntry& aEntry);
} // namespace Qel::impl
