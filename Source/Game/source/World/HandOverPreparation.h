// What a loaded level needs made on the main thread before it is handed over, done a slice a frame so
// the loading screen keeps drawing and the hand-over frame stays short: the meshes' own shaders, then
// the GL objects of what the load task made (off the main thread buffers, textures and shaders wait on
// the CPU until the main thread makes them), then one warm-up draw of each mesh's pipeline. Main thread.
#pragma once

#include "Objects/GameObject.h"
#include "vek/Core/CounterSource.h"

#include <cstddef>
#include <memory>
#include <vector>

class HandOverPreparation
{
public:
    // How long one frame's slice may work.
    static constexpr double SLICE_SECONDS = 0.008;

    // Starts over for a new set of loaded objects.
    void Reset()
    {
        myNextObject = 0;
        myArePipelinesWarm = false;
    }
    // Works on someObjects until aClock has moved SLICE_SECONDS (at least one step is taken); true when
    // nothing is left to make.
    bool RunSlice(const std::vector<std::unique_ptr<GameObject>>& someObjects,
                  const Qel::CounterSource& aClock);
    // While the load task still runs: makes the GL objects it has queued so far, for at most a slice,
    // so fewer are left for the frames after it.
    static void RunTaskSlice(const Qel::CounterSource& aClock);

private:
    std::size_t myNextObject = 0;
    bool myArePipelinesWarm = false;
};
