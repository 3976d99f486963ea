// The process-wide index that turns scene-object UUIDs into small ids, in order of first appearance.
//
// Id 0 is the nil UUID and also stands for a missing or malformed UUID. Ids stay the same for the whole
// run, across scenes. One mutex guards the index, so any thread may ask.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Qel
{
std::uint32_t GetSceneObjectIdFromUuid(const char* aUuid);

// How many ids have been handed out, id 0 included.
std::size_t GetSceneObjectIdCount();
} // namespace Qel
