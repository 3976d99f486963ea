// Sound files decoded ahead on a few tasks, so that loading their samples later only hands the decoded
// sound to the mixer: a start-up can begin the decode of everything it will load while it does other
// work. Prefetches are kept by resolved path until a load takes them; any thread may start them.
#pragma once

#include "Platform/Sound/SampleDecode.h"

#include <optional>
#include <string>
#include <vector>

namespace Qel
{
// Starts decoding the files, the costliest first; a path already prefetched is skipped.
void PrefetchSamples(const std::vector<std::string>& someResolvedPaths);

namespace impl
{
struct PrefetchedSample
{
    bool myWasPrefetched = false;
    // Nothing when the decoder does not take the file or failed on it: the mixer's own loader then reads it.
    std::optional<DecodedSample> mySample;
    // Why the decoder failed on a file it takes; empty otherwise.
    std::string myFailure;
};

// The path's prefetch, waited for, and used up; a path never prefetched, or already taken, gives an
// empty record.
PrefetchedSample TakePrefetchedSample(const std::string& aResolvedPath);
} // namespace impl
} // namespace Qel
