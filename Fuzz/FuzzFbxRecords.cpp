// The FBX record tree, binary or text, and every array in it decoded both ways.
#include "FuzzSupport.h"
#include "Platform/Fbx/FbxRecords.h"

#include <string>
#include <vector>

namespace
{
void DecodeAll(const Qel::Fbx::Record& aRecord)
{
    std::vector<double> reals;
    std::vector<int64_t> wholes;
    std::string error;
    for (const Qel::Fbx::RecordValue& value : aRecord.values)
    {
        static_cast<void>(value.AsInteger());
        static_cast<void>(Qel::Fbx::DecodeArray(value, reals, error));
        static_cast<void>(Qel::Fbx::DecodeArray(value, wholes, error));
    }
    for (const Qel::Fbx::Record& child : aRecord.children)
    {
        DecodeAll(child);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize)
{
    const std::span<const std::uint8_t> bytes = QelFuzz::AsSpan(aData, aSize);
    Qel::Fbx::Record root;
    std::string error;
    if (Qel::Fbx::ParseRecords(bytes, root, error) || Qel::Fbx::ParseTextRecords(bytes, root, error))
    {
        DecodeAll(root);
    }
    return 0;
}
