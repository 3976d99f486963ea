// Builds binary FBX bytes in memory for the layer tests: records with scalar, string and array values.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace FbxTest
{
struct Node
{
    std::string name;
    std::string values; // encoded values
    uint32_t valueCount = 0;
    std::vector<Node> children;

    template <typename T>
    Node& Scalar(char aType, T aValue)
    {
        values.push_back(aType);
        values.append(reinterpret_cast<const char*>(&aValue), sizeof(aValue));
        ++valueCount;
        return *this;
    }
    Node& Int(int32_t aValue) { return Scalar('I', aValue); }
    Node& Long(int64_t aValue) { return Scalar('L', aValue); }
    Node& Double(double aValue) { return Scalar('D', aValue); }
    Node& Text(const std::string& aText)
    {
        values.push_back('S');
        const uint32_t length = static_cast<uint32_t>(aText.size());
        values.append(reinterpret_cast<const char*>(&length), 4);
        values += aText;
        ++valueCount;
        return *this;
    }
    Node& Doubles(const std::vector<double>& aValues, bool aCompressed, uint32_t aClaimedLength = 0)
    {
        std::string payload(reinterpret_cast<const char*>(aValues.data()), aValues.size() * sizeof(double));
        if (aCompressed)
        {
            uLongf size = compressBound(static_cast<uLong>(payload.size()));
            std::string packed(size, '\0');
            compress(reinterpret_cast<Bytef*>(packed.data()), &size,
                     reinterpret_cast<const Bytef*>(payload.data()), static_cast<uLong>(payload.size()));
            packed.resize(size);
            payload = packed;
        }
        values.push_back('d');
        const uint32_t header[3]{aClaimedLength != 0 ? aClaimedLength : static_cast<uint32_t>(aValues.size()),
                                 aCompressed ? 1u : 0u, static_cast<uint32_t>(payload.size())};
        values.append(reinterpret_cast<const char*>(header), sizeof(header));
        values += payload;
        ++valueCount;
        return *this;
    }
    Node& Add(Node aChild)
    {
        children.push_back(std::move(aChild));
        return *this;
    }
};

inline Node Make(const std::string& aName)
{
    return Node{aName, {}, 0, {}};
}

// A "P" record of a Properties70 block: name, type text, two empty texts, flags "A", then the numbers.
inline Node Property(const std::string& aName, const std::vector<double>& aValues,
                     const std::string& aType = "")
{
    Node p = Make("P");
    p.Text(aName).Text(aType).Text("").Text("A");
    for (const double v : aValues)
    {
        p.Double(v);
    }
    return p;
}

// An object record as binary files write it: id, "Name\0\1Class", sub-type.
inline Node Object(const std::string& aClass, int64_t aId, const std::string& aName, const std::string& aType)
{
    Node object = Make(aClass);
    object.Long(aId).Text(aName + std::string("\0\1", 2) + aClass).Text(aType);
    return object;
}

class Writer
{
public:
    explicit Writer(uint32_t aVersion) : myWide(aVersion >= 7500)
    {
        myBytes.assign("Kaydara FBX Binary  \0\x1a\0", 23);
        Append(aVersion);
    }

    std::string Finish(const std::vector<Node>& aTop)
    {
        for (const Node& node : aTop)
        {
            Write(node);
        }
        myBytes.append(myWide ? 25 : 13, '\0');
        return myBytes;
    }

private:
    template <typename T>
    void Append(T aValue)
    {
        myBytes.append(reinterpret_cast<const char*>(&aValue), sizeof(aValue));
    }

    void Field(uint64_t aValue, size_t aAt)
    {
        if (myWide)
        {
            std::memcpy(myBytes.data() + aAt, &aValue, 8);
        }
        else
        {
            const uint32_t narrow = static_cast<uint32_t>(aValue);
            std::memcpy(myBytes.data() + aAt, &narrow, 4);
        }
    }

    void Write(const Node& aNode)
    {
        const size_t start = myBytes.size();
        const size_t width = myWide ? 8 : 4;
        myBytes.append(width * 3, '\0');
        myBytes.push_back(static_cast<char>(aNode.name.size()));
        myBytes += aNode.name;
        myBytes += aNode.values;
        for (const Node& child : aNode.children)
        {
            Write(child);
        }
        if (!aNode.children.empty())
        {
            myBytes.append(width * 3 + 1, '\0');
        }
        Field(myBytes.size(), start);
        Field(aNode.valueCount, start + width);
        Field(aNode.values.size(), start + 2 * width);
    }

    bool myWide;
    std::string myBytes;
};

inline std::vector<uint8_t> Bytes(const std::string& aText)
{
    return {aText.begin(), aText.end()};
}
} // namespace FbxTest
