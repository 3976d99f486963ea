// Parsing a level's object files in parallel: contiguous chunks of the file list, one task per chunk,
// at most one task per hardware thread. Tasks only read their own files and build their own records;
// results come back in file-list order whatever order the tasks finish in.
#pragma once

#include "vek/scene/ParsedSceneObject.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <utility>
#include <vector>

namespace Qel::impl
{
using FileParser = std::function<ParsedSceneObject(const std::filesystem::path&)>;

// The hardware thread count the platform reports, 1 when it reports none.
unsigned GetHardwareThreadCount();

// The [begin, end) index ranges of the parse tasks for aFileCount files: min(threads, files) workers
// (a report of 0 threads counts as 1), each taking ceil(files / workers) files; the last may be shorter
// and fewer tasks than workers can result.
std::vector<std::pair<std::size_t, std::size_t>> SplitIntoChunks(std::size_t aFileCount,
                                                                 unsigned aHardwareThreads);

// Runs aParse over every file, one std::async task per chunk. Every task is waited for before this
// returns or throws; when tasks fail, the exception of the first failing chunk in file order leaves.
std::vector<ParsedSceneObject> ParseFilesInChunks(const std::vector<std::filesystem::path>& aFiles,
                                                  unsigned aHardwareThreads, const FileParser& aParse);

// ParseFilesInChunks with LoadSceneObjectFile; aHardwareThreads 0 asks the platform.
std::vector<ParsedSceneObject> LoadSceneObjectFilesParallel(const std::vector<std::filesystem::path>& aFiles,
                                                            unsigned aHardwareThreads = 0);
} // namespace Qel::impl
