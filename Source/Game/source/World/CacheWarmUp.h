// Runs the components' WarmCaches on a few tasks at once, so the files of a level import in parallel.
#pragma once

#include <vector>

class Component;

// The most tasks the warm-up uses: it reads and imports files, it need not have the whole machine.
constexpr unsigned MAX_WARM_UP_TASKS = 4;

// Calls WarmCaches once on every component, spread over at most aTaskCount tasks (the calling thread
// is one). Every task is waited for before this returns or throws; when calls throw, the first
// exception a task reports leaves.
void WarmComponentCaches(const std::vector<Component*>& someComponents,
                         unsigned aTaskCount = MAX_WARM_UP_TASKS);
