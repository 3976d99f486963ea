#include "Platform/Fbx/FbxSceneReader.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace Qel::Fbx
{
namespace
{
struct Object
{
    const Record* record = nullptr;
    std::string_view className; // the record name: Model, Geometry, Material ...
    std::string_view name;      // the object's name without its class suffix
    std::string_view subType;   // the third value: Mesh, LimbNode, Skin, Cluster ...
};

struct Connection
{
    int64_t child = 0;
    int64_t parent = 0;
    std::string_view property; // set for object-to-property connections
};

std::string_view ObjectName(std::string_view aText)
{
    // Binary names are "Name\0\1Class", text names "Class::Name".
    const size_t cut = aText.find(std::string_view("\0\1", 2));
    if (cut != std::string_view::npos)
    {
        return aText.substr(0, cut);
    }
    const size_t prefix = aText.find("::");
    return prefix == std::string_view::npos ? aText : aText.substr(prefix + 2);
}

const Record* FindProperty(const Record* aObject, std::string_view aName)
{
    const Record* block = aObject ? aObject->Find("Properties70") : nullptr;
    if (block == nullptr)
    {
        return nullptr;
    }
    for (const Record& p : block->children)
    {
        if (!p.values.empty() && p.values[0].text == aName)
        {
            return &p;
        }
    }
    return nullptr;
}

bool ReadNumber(const Record* aObject, std::string_view aName, double& aOut)
{
    const Record* p = FindProperty(aObject, aName);
    if (p == nullptr || p->values.size() < 5 || !p->values[4].IsNumber())
    {
        return false;
    }
    aOut = p->values[4].AsDouble();
    return true;
}

void ReadVector(const Record* aObject, std::string_view aName, Vector3& aOut)
{
    const Record* p = FindProperty(aObject, aName);
    if (p != nullptr && p->values.size() >= 7)
    {
        for (size_t k = 0; k < 3; ++k)
        {
            aOut[k] = p->values[4 + k].AsDouble();
        }
    }
}

template <typename T>
void ReadInteger(const Record* aObject, std::string_view aName, T& aOut)
{
    double value = 0.0;
    int64_t whole = 0;
    if (ReadNumber(aObject, aName, value) && RealToInteger(value, whole) && std::in_range<T>(whole))
    {
        aOut = static_cast<T>(whole);
    }
}

int64_t ReadTime(const Record* aObject, std::string_view aName)
{
    const Record* p = FindProperty(aObject, aName);
    return p != nullptr && p->values.size() >= 5 ? p->values[4].AsInteger() : 0;
}

std::string_view ChildText(const Record& aRecord, std::string_view aName)
{
    const Record* child = aRecord.Find(aName);
    return child != nullptr && !child->values.empty() ? child->values[0].text : std::string_view{};
}

// FBX stores matrices element by element with the translation last, i.e. column by column for
// column-vector maths.
bool ReadMatrix(const Record& aRecord, std::string_view aName, Matrix& aOut, std::string& aError)
{
    const Record* child = aRecord.Find(aName);
    if (child == nullptr || child->values.empty())
    {
        return true;
    }
    std::vector<double> values;
    if (!DecodeArray(child->values[0], values, aError))
    {
        return false;
    }
    if (values.size() != 16)
    {
        aError = "a cluster matrix does not have 16 elements";
        return false;
    }
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
        {
            aOut(r, c) = values[static_cast<size_t>(c * 4 + r)];
        }
    }
    return true;
}

NodeKind KindOfAttribute(std::string_view aClassName, std::string_view aSubType)
{
    if (aClassName == "Geometry")
    {
        return aSubType == "Mesh" ? NodeKind::Mesh : NodeKind::Other;
    }
    if (aSubType == "Null")
    {
        return NodeKind::Null;
    }
    if (aSubType == "LimbNode" || aSubType == "Limb" || aSubType == "Root")
    {
        return NodeKind::Skeleton;
    }
    if (aSubType == "LodGroup")
    {
        return NodeKind::LodGroup;
    }
    return NodeKind::Other;
}

class SceneBuilder
{
public:
    SceneBuilder(const Record& aRoot, Scene& aScene, std::string& aError)
        : myRoot(aRoot), myScene(aScene), myError(aError)
    {
    }

    bool Build()
    {
        const Record* objects = myRoot.Find("Objects");
        if (objects == nullptr)
        {
            myError = "the file has no objects";
            return false;
        }
        ReadSettings();
        IndexObjects(*objects);
        IndexConnections();
        BuildNodes();
        BuildMaterials();
        ReadTakes();
        return BuildSkins() && BuildAnimation();
    }

private:
    void ReadSettings()
    {
        const Record* global = myRoot.Find("GlobalSettings");
        GlobalSettings& s = myScene.settings;
        ReadInteger(global, "UpAxis", s.upAxis);
        ReadInteger(global, "UpAxisSign", s.upAxisSign);
        ReadInteger(global, "FrontAxis", s.frontAxis);
        ReadInteger(global, "FrontAxisSign", s.frontAxisSign);
        ReadInteger(global, "CoordAxis", s.coordAxis);
        ReadInteger(global, "CoordAxisSign", s.coordAxisSign);
        ReadNumber(global, "UnitScaleFactor", s.unitScaleFactor);
        ReadInteger(global, "TimeMode", s.timeMode);
        ReadNumber(global, "CustomFrameRate", s.customFrameRate);
    }

    void IndexObjects(const Record& aObjects)
    {
        for (const Record& record : aObjects.children)
        {
            if (record.values.size() < 2 || !record.values[0].IsNumber())
            {
                continue;
            }
            Object object;
            object.record = &record;
            object.className = record.name;
            object.name = ObjectName(record.values[1].text);
            object.subType = record.values.size() > 2 ? record.values[2].text : std::string_view{};
            const int64_t id = record.values[0].AsInteger();
            if (myObjects.emplace(id, object).second)
            {
                myOrder.push_back(id);
            }
        }
    }

    void IndexConnections()
    {
        const Record* connections = myRoot.Find("Connections");
        if (connections == nullptr)
        {
            return;
        }
        for (const Record& c : connections->children)
        {
            if (c.values.size() < 3)
            {
                continue;
            }
            Connection connection{c.values[1].AsInteger(), c.values[2].AsInteger(), {}};
            if (c.values[0].text == "OP" && c.values.size() > 3)
            {
                connection.property = c.values[3].text;
            }
            myChildrenOf[connection.parent].push_back(myConnections.size());
            myParentsOf[connection.child].push_back(myConnections.size());
            myConnections.push_back(connection);
        }
    }

    const Object* Find(int64_t aId) const
    {
        const auto it = myObjects.find(aId);
        return it == myObjects.end() ? nullptr : &it->second;
    }

    // An object known to exist (one that Sources returned).
    const Object& Known(int64_t aId) const { return myObjects.at(aId); }

    // Indices into myConnections of the connections filed under aId; empty when there are none.
    static const std::vector<size_t>&
    ConnectionsIn(const std::unordered_map<int64_t, std::vector<size_t>>& aIndex, int64_t aId)
    {
        static const std::vector<size_t> none;
        const auto it = aIndex.find(aId);
        return it == aIndex.end() ? none : it->second;
    }

    // Every object of one class, in file order.
    template <typename Visit>
    void ForEachObjectOfClass(std::string_view aClass, Visit&& aVisit) const
    {
        for (const int64_t id : myOrder)
        {
            const Object& object = myObjects.at(id);
            if (object.className == aClass)
            {
                aVisit(id, object);
            }
        }
    }

    // Objects connected below aParent (as sources), in connection order, optionally of one class.
    std::vector<int64_t> Sources(int64_t aParent, std::string_view aClass,
                                 std::string_view aProperty = {}) const
    {
        std::vector<int64_t> result;
        for (const size_t index : ConnectionsIn(myChildrenOf, aParent))
        {
            const Connection& c = myConnections[index];
            const Object* object = Find(c.child);
            if (object != nullptr && (aClass.empty() || object->className == aClass) &&
                (aProperty.empty() || c.property == aProperty))
            {
                result.push_back(c.child);
            }
        }
        return result;
    }

    void BuildNodes()
    {
        myScene.nodes.assign(1, Node{});
        myScene.nodes[0].name = "RootNode";
        ForEachObjectOfClass("Model",
                             [this](int64_t aId, const Object& aObject)
                             {
                                 myNodeOf[aId] = static_cast<int32_t>(myScene.nodes.size());
                                 Node& node = myScene.nodes.emplace_back();
                                 node.name = std::string(aObject.name);
                                 node.uniqueId = static_cast<uint64_t>(aId);
                                 ReadNodeTransform(aObject.record, node.transform);
                                 ReadNodeKind(aId, aObject, node);
                             });
        // Parents: the first model (or the root) each model is connected to; children in connection order.
        for (size_t i = 1; i < myScene.nodes.size(); ++i)
        {
            const int64_t id = static_cast<int64_t>(myScene.nodes[i].uniqueId);
            int32_t parent = 0;
            for (const size_t index : ConnectionsIn(myParentsOf, id))
            {
                const Connection& c = myConnections[index];
                const auto node = myNodeOf.find(c.parent);
                if (c.property.empty() && node != myNodeOf.end() && node->second != static_cast<int32_t>(i))
                {
                    parent = node->second;
                    break;
                }
            }
            myScene.nodes[i].parent = parent;
        }
        for (const Connection& c : myConnections)
        {
            const auto child = myNodeOf.find(c.child);
            if (child == myNodeOf.end() || !c.property.empty())
            {
                continue;
            }
            const int32_t parent = myScene.nodes[static_cast<size_t>(child->second)].parent;
            const auto parentNode = myNodeOf.find(c.parent);
            const int32_t named =
                c.parent == 0 ? 0 : (parentNode == myNodeOf.end() ? -1 : parentNode->second);
            if (named == parent)
            {
                AddChild(parent, child->second);
            }
        }
        // Models connected to nothing hang below the root.
        for (size_t i = 1; i < myScene.nodes.size(); ++i)
        {
            if (myParentsOf.find(static_cast<int64_t>(myScene.nodes[i].uniqueId)) == myParentsOf.end())
            {
                AddChild(0, static_cast<int32_t>(i));
            }
        }
        BreakCycles();
    }

    void AddChild(int32_t aParent, int32_t aChild)
    {
        auto& children = myScene.nodes[static_cast<size_t>(aParent)].children;
        if (std::find(children.begin(), children.end(), aChild) == children.end())
        {
            children.push_back(aChild);
        }
    }

    // A damaged file could connect models in a loop; such nodes are unreachable from the root, so
    // they are hung below it to keep every walk finite.
    void BreakCycles()
    {
        std::vector<bool> reached(myScene.nodes.size(), false);
        std::vector<int32_t> stack{0};
        while (!stack.empty())
        {
            const int32_t n = stack.back();
            stack.pop_back();
            if (reached[static_cast<size_t>(n)])
            {
                continue;
            }
            reached[static_cast<size_t>(n)] = true;
            for (const int32_t c : myScene.nodes[static_cast<size_t>(n)].children)
            {
                stack.push_back(c);
            }
        }
        for (size_t i = 1; i < myScene.nodes.size(); ++i)
        {
            if (!reached[i])
            {
                Node& node = myScene.nodes[i];
                auto& siblings = myScene.nodes[static_cast<size_t>(node.parent)].children;
                siblings.erase(std::remove(siblings.begin(), siblings.end(), static_cast<int32_t>(i)),
                               siblings.end());
                node.parent = 0;
                myScene.nodes[0].children.push_back(static_cast<int32_t>(i));
                // Its subtree may still loop back into itself; mark it and go on.
                reached[i] = true;
            }
        }
    }

    void ReadNodeTransform(const Record* aModel, NodeTransform& aOut)
    {
        ReadVector(aModel, "Lcl Translation", aOut.translation.value);
        ReadVector(aModel, "Lcl Rotation", aOut.rotation.value);
        ReadVector(aModel, "Lcl Scaling", aOut.scaling.value);
        ReadVector(aModel, "RotationOffset", aOut.rotationOffset);
        ReadVector(aModel, "RotationPivot", aOut.rotationPivot);
        ReadVector(aModel, "ScalingOffset", aOut.scalingOffset);
        ReadVector(aModel, "ScalingPivot", aOut.scalingPivot);
        ReadVector(aModel, "PreRotation", aOut.preRotation);
        ReadVector(aModel, "PostRotation", aOut.postRotation);
        ReadVector(aModel, "GeometricTranslation", aOut.geometricTranslation);
        ReadVector(aModel, "GeometricRotation", aOut.geometricRotation);
        ReadVector(aModel, "GeometricScaling", aOut.geometricScaling);
        int order = 0;
        ReadInteger(aModel, "RotationOrder", order);
        aOut.rotationOrder = static_cast<RotationOrder>(order >= 0 && order <= 5 ? order : 0);
        int active = 0;
        ReadInteger(aModel, "RotationActive", active);
        aOut.rotationActive = active != 0;
    }

    void ReadNodeKind(int64_t aId, const Object& aModel, Node& aNode)
    {
        for (const int64_t source : Sources(aId, {}))
        {
            const Object* attribute = &Known(source);
            if (attribute->className != "NodeAttribute" && attribute->className != "Geometry")
            {
                continue;
            }
            aNode.kind = KindOfAttribute(attribute->className, attribute->subType);
            if (aNode.kind == NodeKind::LodGroup)
            {
                for (int level = 0;; ++level)
                {
                    double threshold = 0.0;
                    if (!ReadNumber(attribute->record, "Thresholds|Level" + std::to_string(level), threshold))
                    {
                        break;
                    }
                    aNode.lodThresholds.push_back(threshold);
                }
            }
            if (aNode.kind == NodeKind::Mesh)
            {
                myGeometryOf[aId] = source;
            }
            return;
        }
        // A model without attribute object still names its type.
        const NodeKind fromType = KindOfAttribute("Model", aModel.subType);
        if (fromType == NodeKind::Null || fromType == NodeKind::Skeleton || fromType == NodeKind::LodGroup)
        {
            aNode.kind = fromType;
        }
    }

    void BuildMaterials()
    {
        std::unordered_map<int64_t, int32_t> indexOf;
        ForEachObjectOfClass("Material",
                             [&](int64_t aId, const Object& aObject)
                             {
                                 indexOf[aId] = static_cast<int32_t>(myScene.materials.size());
                                 Material& material = myScene.materials.emplace_back();
                                 material.name = std::string(aObject.name);
                                 for (const size_t index : ConnectionsIn(myChildrenOf, aId))
                                 {
                                     const Connection& c = myConnections[index];
                                     const Object* source = Find(c.child);
                                     if (c.property.empty() || source == nullptr)
                                     {
                                         continue;
                                     }
                                     MaterialSlot& slot = material.properties[std::string(c.property)];
                                     if (source->className == "LayeredTexture")
                                     {
                                         slot.layered = true;
                                     }
                                     else if (source->className == "Texture" && !slot.fileTexture)
                                     {
                                         slot.fileTexture = true;
                                         slot.fileName = std::string(ChildText(*source->record, "FileName"));
                                         slot.relativeFileName =
                                             std::string(ChildText(*source->record, "RelativeFilename"));
                                     }
                                 }
                             });
        for (const auto& [id, node] : myNodeOf)
        {
            for (const int64_t source : Sources(id, "Material"))
            {
                myScene.nodes[static_cast<size_t>(node)].materials.push_back(indexOf.at(source));
            }
        }
    }

    bool BuildSkins()
    {
        for (const auto& [modelId, geometryId] : myGeometryOf)
        {
            Node& node = myScene.nodes[static_cast<size_t>(myNodeOf.at(modelId))];
            for (const int64_t skin : Sources(geometryId, "Deformer"))
            {
                if (Known(skin).subType != "Skin")
                {
                    continue;
                }
                for (const int64_t clusterId : Sources(skin, "Deformer"))
                {
                    const Object* cluster = &Known(clusterId);
                    const std::vector<int64_t> links = Sources(clusterId, "Model");
                    if (cluster->subType != "Cluster" || links.empty())
                    {
                        continue;
                    }
                    Cluster& out = node.clusters.emplace_back();
                    out.linkName = std::string(Known(links.front()).name);
                    Matrix stored;
                    if (!ReadMatrix(*cluster->record, "Transform", stored, myError) ||
                        !ReadMatrix(*cluster->record, "TransformLink", out.transformLink, myError))
                    {
                        return false;
                    }
                    // The file keeps the mesh's bind transform relative to the bone.
                    out.transform = out.transformLink * stored;
                }
            }
        }
        return true;
    }

    void ReadTakes()
    {
        const Record* takes = myRoot.Find("Takes");
        if (takes == nullptr)
        {
            return;
        }
        for (const Record& take : takes->children)
        {
            if (take.name != "Take" || take.values.empty())
            {
                continue;
            }
            TakeInfo& info = myScene.takes.emplace_back();
            info.name = std::string(take.values[0].text);
            const Record* local = take.Find("LocalTime");
            if (local != nullptr && local->values.size() >= 2)
            {
                info.localStart = local->values[0].AsInteger();
                info.localStop = local->values[1].AsInteger();
            }
        }
    }

    bool BuildAnimation()
    {
        ForEachObjectOfClass("AnimationStack",
                             [this](int64_t aId, const Object& aObject)
                             {
                                 AnimationStack& stack = myScene.stacks.emplace_back();
                                 stack.name = std::string(aObject.name);
                                 stack.localStart = ReadTime(aObject.record, "LocalStart");
                                 stack.localStop = ReadTime(aObject.record, "LocalStop");
                                 if (myScene.stacks.size() == 1)
                                 {
                                     myFirstStack = aId;
                                 }
                             });
        if (myScene.stacks.empty())
        {
            return true;
        }
        // Only the first stack is ever sampled: bind its curves to the nodes.
        for (const int64_t layer : Sources(myFirstStack, "AnimationLayer"))
        {
            for (const int64_t curveNode : Sources(layer, "AnimationCurveNode"))
            {
                if (!BindCurveNode(curveNode))
                {
                    return false;
                }
            }
        }
        return true;
    }

    bool BindCurveNode(int64_t aCurveNode)
    {
        for (const size_t index : ConnectionsIn(myParentsOf, aCurveNode))
        {
            const Connection& c = myConnections[index];
            const auto node = myNodeOf.find(c.parent);
            if (node == myNodeOf.end())
            {
                continue;
            }
            NodeTransform& t = myScene.nodes[static_cast<size_t>(node->second)].transform;
            AnimatedVector* target = c.property == "Lcl Translation" ? &t.translation
                                     : c.property == "Lcl Rotation"  ? &t.rotation
                                     : c.property == "Lcl Scaling"   ? &t.scaling
                                                                     : nullptr;
            if (target == nullptr)
            {
                continue;
            }
            static constexpr std::array<std::string_view, 3> COMPONENTS{"d|X", "d|Y", "d|Z"};
            for (size_t k = 0; k < 3; ++k)
            {
                const std::vector<int64_t> curves = Sources(aCurveNode, "AnimationCurve", COMPONENTS[k]);
                if (curves.empty())
                {
                    continue;
                }
                const int32_t curve = ReadCurve(curves.front());
                if (curve == -2)
                {
                    return false;
                }
                target->curves[k] = curve;
            }
        }
        return true;
    }

    // The index of the curve in the scene, -1 when it has no keys, -2 on damage.
    int32_t ReadCurve(int64_t aId)
    {
        const auto cached = myCurveOf.find(aId);
        if (cached != myCurveOf.end())
        {
            return cached->second;
        }
        const Record& record = *Known(aId).record;
        const Record* times = record.Find("KeyTime");
        const Record* values = record.Find("KeyValueFloat");
        Curve curve;
        if (times == nullptr || values == nullptr || times->values.empty() || values->values.empty())
        {
            return myCurveOf[aId] = -1;
        }
        if (!DecodeArray(times->values[0], curve.times, myError) ||
            !DecodeArray(values->values[0], curve.values, myError))
        {
            return -2;
        }
        if (curve.times.size() != curve.values.size() || curve.times.empty() ||
            !std::is_sorted(curve.times.begin(), curve.times.end()))
        {
            myError = "an animation curve has mismatched or unordered keys";
            return -2;
        }
        const Record* flags = record.Find("KeyAttrFlags");
        std::vector<int64_t> flagValues;
        if (flags != nullptr && !flags->values.empty() &&
            DecodeArray(flags->values[0], flagValues, myError) && !flagValues.empty())
        {
            constexpr int64_t CONSTANT_INTERPOLATION = 0x2;
            curve.constant = (flagValues.front() & CONSTANT_INTERPOLATION) != 0;
        }
        myScene.curves.push_back(std::move(curve));
        return myCurveOf[aId] = static_cast<int32_t>(myScene.curves.size() - 1);
    }

    const Record& myRoot;
    Scene& myScene;
    std::string& myError;
    std::unordered_map<int64_t, Object> myObjects;
    std::vector<int64_t> myOrder;
    std::vector<Connection> myConnections;
    std::unordered_map<int64_t, std::vector<size_t>> myChildrenOf;
    std::unordered_map<int64_t, std::vector<size_t>> myParentsOf;
    std::unordered_map<int64_t, int32_t> myNodeOf;
    std::unordered_map<int64_t, int64_t> myGeometryOf;
    std::unordered_map<int64_t, int32_t> myCurveOf;
    int64_t myFirstStack = 0;
};
} // namespace

bool ReadSceneRecords(const Record& aRoot, Scene& aScene, std::string& aError)
{
    aScene = Scene{};
    SceneBuilder builder(aRoot, aScene, aError);
    return builder.Build();
}
} // namespace Qel::Fbx
