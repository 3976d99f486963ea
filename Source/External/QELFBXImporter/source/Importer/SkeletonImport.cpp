#include "Importer/Steps.h"

#include <algorithm>

namespace QELFBXImporter
{
namespace
{
bool EndsWith(const std::string& aText, std::string_view aSuffix)
{
    return aText.ends_with(aSuffix);
}
} // namespace

std::string ShortBoneName(const std::string& aName)
{
    const size_t colon = aName.rfind(':');
    return colon == std::string::npos ? aName : aName.substr(colon + 1);
}

bool GatherSkeleton(const Qel::Fbx::Scene& aScene, int32_t aNode, Skeleton& aSkeleton,
                    std::vector<Bone>& aEvents, std::vector<Socket>& aSockets, int32_t aParent)
{
    // Depth first, a node before its children, each child's subtree before the next child; an
    // explicit stack keeps deep hierarchies off the call stack.
    std::vector<std::pair<int32_t, int32_t>> pending; // node, parent bone
    if (aNode >= 0 && static_cast<size_t>(aNode) < aScene.nodes.size())
    {
        pending.emplace_back(aNode, aParent);
    }
    while (!pending.empty())
    {
        const auto [index, parent] = pending.back();
        pending.pop_back();
        const Qel::Fbx::Node& node = aScene.nodes[static_cast<size_t>(index)];
        int32_t childParent = parent;
        if (node.kind == Qel::Fbx::NodeKind::Null)
        {
            if (EndsWith(node.name, "_evt") || EndsWith(node.name, "_event"))
            {
                Bone event;
                event.parent = parent;
                event.name = node.name;
                aEvents.push_back(std::move(event));
            }
            else if (EndsWith(node.name, "_skt") || EndsWith(node.name, "_socket"))
            {
                Socket socket;
                socket.matrix = ToRecordMatrix(aScene.EvaluateGlobalTransform(index, 0));
                socket.parent = parent;
                socket.name = node.name;
                aSockets.push_back(std::move(socket));
            }
        }
        else if (node.kind == Qel::Fbx::NodeKind::Skeleton)
        {
            Bone bone;
            bone.parent = parent;
            bone.name = node.name;
            bone.shortName = ShortBoneName(node.name);
            const uint32_t boneIndex = static_cast<uint32_t>(aSkeleton.bones.size());
            const std::string shortName = bone.shortName;
            aSkeleton.bones.push_back(std::move(bone));
            if (!aSkeleton.boneIndexByName.try_emplace(shortName, boneIndex).second)
            {
                ThrowNested("Found more than one bone with the same name [" + node.name + "]!");
            }
            if (parent >= 0)
            {
                aSkeleton.bones[static_cast<size_t>(parent)].children.push_back(boneIndex);
            }
            childParent = static_cast<int32_t>(boneIndex);
        }
        for (auto child = node.children.rbegin(); child != node.children.rend(); ++child)
        {
            pending.emplace_back(*child, childParent);
        }
    }
    return !aSkeleton.bones.empty();
}

std::string SkeletonNameOf(const Skeleton& aSkeleton, const std::string& aPath)
{
    if (aSkeleton.bones.empty())
    {
        return {};
    }
    const std::string& first = aSkeleton.bones.front().name;
    const size_t colon = first.find(':');
    if (colon != std::string::npos)
    {
        return first.substr(0, colon);
    }
    std::string path = aPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    const size_t slash = path.rfind('\\');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() >= 4)
    {
        name.resize(name.size() - 4);
    }
    return name;
}
} // namespace QELFBXImporter
