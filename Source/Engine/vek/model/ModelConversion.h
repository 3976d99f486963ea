// Turning the importer's records into engine types: the skeleton, the vertices of a mesh and a clip
// retargeted onto a model's joints. Pure functions over values; any thread.
#pragma once

#include "Importer/Records.h"
#include "vek/model/Animation.h"
#include "vek/model/Mesh.h"
#include "vek/model/Skeleton.h"

#include <vector>

namespace Qel
{
class Model;

namespace impl
{
// A joint per bone in bone order, with the inverse bind matrix (the bone matrix transposed) and the
// bind pose slot it implies. False, with a log line, for more than MAX_ANIMATION_BONES bones or a
// parent or child index outside the skeleton.
bool ConvertSkeleton(const QELFBXImporter::Skeleton& aRecord, Skeleton& aOut, const std::string& aPath);

// Field for field, with bone indices as floats and colour sets summing to exactly 0 made white.
std::vector<ModelVertex> ConvertVertices(const std::vector<QELFBXImporter::Vertex>& someVertices);

// The clip with one pose per stored frame, each slot of a joint the clip names taken from its local
// matrix; joints the clip lacks keep the identity. The model must hold at most MAX_ANIMATION_BONES
// joints (the load refuses larger skeletons).
void BuildAnimation(const QELFBXImporter::Animation& aRecord, const Model& aModel, Animation& aOut);

// The narrow path widened byte for byte as the single-byte code page of the content reads it.
std::wstring WidenPath(const std::string& aPath);
} // namespace impl
} // namespace Qel
