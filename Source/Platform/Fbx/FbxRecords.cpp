#include "Platform/Fbx/FbxRecords.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace Qel::Fbx
{
namespace
{
constexpr std::string_view SIGNATURE{"Kaydara FBX Binary  \0", 21};
constexpr size_t HEADER_SIZE = 27;
constexpr int MAX_DEPTH = 64;

class Cursor
{
public:
    explicit Cursor(std::span<const uint8_t> aBytes) : myBytes(aBytes) {}

    bool Has(size_t aCount) const { return aCount <= myBytes.size() - myOffset; }
    size_t Offset() const { return myOffset; }
    void Seek(size_t aOffset) { myOffset = aOffset; }

    template <typename T>
    bool Read(T& aOut)
    {
        if (!Has(sizeof(T)))
        {
            return false;
        }
        std::memcpy(&aOut, myBytes.data() + myOffset, sizeof(T));
        myOffset += sizeof(T);
        return true;
    }

    bool Take(size_t aCount, std::span<const uint8_t>& aOut)
    {
        if (!Has(aCount))
        {
            return false;
        }
        aOut = myBytes.subspan(myOffset, aCount);
        myOffset += aCount;
        return true;
    }

private:
    std::span<const uint8_t> myBytes;
    size_t myOffset = 0;
};

std::string_view AsText(std::span<const uint8_t> aBytes)
{
    return {reinterpret_cast<const char*>(aBytes.data()), aBytes.size()};
}

size_t ElementSize(char aType)
{
    switch (aType)
    {
    case 'i':
    case 'f':
        return 4;
    case 'l':
    case 'd':
        return 8;
    case 'b':
    case 'c':
        return 1;
    default:
        return 0;
    }
}

bool ReadValue(Cursor& aCursor, RecordValue& aValue)
{
    uint8_t type = 0;
    if (!aCursor.Read(type))
    {
        return false;
    }
    aValue.type = static_cast<char>(type);
    switch (aValue.type)
    {
    case 'Y':
    {
        int16_t v = 0;
        const bool ok = aCursor.Read(v);
        aValue.integer = v;
        return ok;
    }
    case 'C':
    {
        uint8_t v = 0;
        const bool ok = aCursor.Read(v);
        aValue.integer = v != 0 ? 1 : 0;
        return ok;
    }
    case 'I':
    {
        int32_t v = 0;
        const bool ok = aCursor.Read(v);
        aValue.integer = v;
        return ok;
    }
    case 'L':
        return aCursor.Read(aValue.integer);
    case 'F':
    {
        float v = 0;
        const bool ok = aCursor.Read(v);
        aValue.real = static_cast<double>(v);
        return ok;
    }
    case 'D':
        return aCursor.Read(aValue.real);
    case 'S':
    case 'R':
    {
        uint32_t length = 0;
        std::span<const uint8_t> bytes;
        if (!aCursor.Read(length) || !aCursor.Take(length, bytes))
        {
            return false;
        }
        aValue.text = AsText(bytes);
        return true;
    }
    case 'i':
    case 'l':
    case 'f':
    case 'd':
    case 'b':
    case 'c':
    {
        uint32_t compressedLength = 0;
        return aCursor.Read(aValue.arrayLength) && aCursor.Read(aValue.encoding) &&
               aCursor.Read(compressedLength) && aCursor.Take(compressedLength, aValue.payload);
    }
    default:
        return false;
    }
}

// Deflate cannot shrink data by more than about 1032:1; a larger claim is a damaged length.
constexpr size_t MAX_DEFLATE_RATIO = 1100;

class Parser
{
public:
    Parser(std::span<const uint8_t> aBytes, uint32_t aVersion) : myCursor(aBytes), myWide(aVersion >= 7500)
    {
        myCursor.Seek(HEADER_SIZE);
    }

    // Reads records until a null record or aLimit; false on damage.
    bool ReadList(std::vector<Record>& aOut, size_t aLimit, int aDepth, std::string& aError)
    {
        if (aDepth > MAX_DEPTH)
        {
            aError = "records are nested too deeply";
            return false;
        }
        while (myCursor.Offset() < aLimit)
        {
            uint64_t endOffset = 0;
            uint64_t valueCount = 0;
            uint64_t valueBytes = 0;
            uint8_t nameLength = 0;
            if (!ReadHeaderField(endOffset) || !ReadHeaderField(valueCount) || !ReadHeaderField(valueBytes) ||
                !myCursor.Read(nameLength))
            {
                aError = "a record header is cut short";
                return false;
            }
            if (endOffset == 0)
            {
                return true; // the null record that closes a list
            }
            if (endOffset > aLimit || endOffset <= myCursor.Offset())
            {
                aError = "a record ends outside its parent";
                return false;
            }
            Record& record = aOut.emplace_back();
            std::span<const uint8_t> name;
            if (!myCursor.Take(nameLength, name))
            {
                aError = "a record name is cut short";
                return false;
            }
            record.name = AsText(name);
            const size_t valuesStart = myCursor.Offset();
            if (valuesStart > endOffset || valueBytes > endOffset - valuesStart || valueCount > valueBytes)
            {
                aError = "the values of record " + std::string(record.name) + " overrun it";
                return false;
            }
            record.values.reserve(static_cast<size_t>(valueCount));
            for (uint64_t i = 0; i < valueCount; ++i)
            {
                if (!ReadValue(myCursor, record.values.emplace_back()) ||
                    myCursor.Offset() > valuesStart + valueBytes)
                {
                    aError = "a value of record " + std::string(record.name) + " is damaged";
                    return false;
                }
                if (!CountArray(record.values.back(), aError))
                {
                    aError += " (in " + std::string(record.name) + ")";
                    return false;
                }
            }
            myCursor.Seek(valuesStart + static_cast<size_t>(valueBytes));
            if (myCursor.Offset() < endOffset &&
                !ReadList(record.children, static_cast<size_t>(endOffset), aDepth + 1, aError))
            {
                return false;
            }
            myCursor.Seek(static_cast<size_t>(endOffset));
        }
        if (aDepth == 0)
        {
            aError = "the file ends without its closing record"; // cut short at a record boundary
            return false;
        }
        return true;
    }

private:
    // Checks an array's declared length against its payload and adds it to the file's total.
    bool CountArray(const RecordValue& aValue, std::string& aError)
    {
        const size_t elementSize = ElementSize(aValue.type);
        if (elementSize == 0)
        {
            return true;
        }
        const uint64_t bytes = uint64_t{aValue.arrayLength} * elementSize;
        const bool fits = aValue.encoding == 1 ? bytes <= aValue.payload.size() * MAX_DEFLATE_RATIO + 64
                                               : bytes == aValue.payload.size();
        if (!fits)
        {
            aError = "an array claims a length its data cannot hold";
            return false;
        }
        myArrayElements += aValue.arrayLength;
        if (myArrayElements > MAX_ARRAY_ELEMENTS)
        {
            aError = "the arrays hold more than " + std::to_string(MAX_ARRAY_ELEMENTS) + " elements";
            return false;
        }
        return true;
    }

    bool ReadHeaderField(uint64_t& aOut)
    {
        if (myWide)
        {
            return myCursor.Read(aOut);
        }
        uint32_t narrow = 0;
        const bool ok = myCursor.Read(narrow);
        aOut = narrow;
        return ok;
    }

    Cursor myCursor;
    bool myWide;
    uint64_t myArrayElements = 0;
};

// An element as T; false when T is an integer and the element is a real it cannot hold.
template <typename T, typename Source>
bool ConvertElement(Source aValue, T& aOut)
{
    if constexpr (std::is_integral_v<T> && std::is_floating_point_v<Source>)
    {
        return RealToInteger(static_cast<double>(aValue), aOut);
    }
    else
    {
        aOut = static_cast<T>(aValue);
        return true;
    }
}

template <typename T>
bool DecodeArrayAs(const RecordValue& aValue, std::vector<T>& aOut, std::string& aError)
{
    if (aValue.type == 'a')
    {
        std::vector<double> values;
        if (!DecodeTextArray(aValue, values, aError))
        {
            return false;
        }
        aOut.assign(values.size(), T{});
        for (size_t i = 0; i < values.size(); ++i)
        {
            if (!ConvertElement(values[i], aOut[i]))
            {
                aError = "an array of whole numbers holds a value out of their range";
                return false;
            }
        }
        return true;
    }
    const size_t elementSize = ElementSize(aValue.type);
    if (elementSize == 0)
    {
        aError = "a value that should be an array is not one";
        return false;
    }
    const size_t byteCount = static_cast<size_t>(aValue.arrayLength) * elementSize;
    std::vector<uint8_t> inflated;
    const uint8_t* data = aValue.payload.data();
    if (aValue.arrayLength > MAX_ARRAY_ELEMENTS ||
        (aValue.encoding == 1 && byteCount > aValue.payload.size() * MAX_DEFLATE_RATIO + 64))
    {
        aError = "a compressed array claims an impossible length";
        return false;
    }
    if (aValue.encoding == 1)
    {
        inflated.resize(byteCount);
        uLongf written = static_cast<uLongf>(byteCount);
        if (uncompress(inflated.data(), &written, aValue.payload.data(),
                       static_cast<uLong>(aValue.payload.size())) != Z_OK ||
            written != byteCount)
        {
            aError = "a compressed array is damaged";
            return false;
        }
        data = inflated.data();
    }
    else if (aValue.encoding != 0 || aValue.payload.size() != byteCount)
    {
        aError = "an array has an unknown encoding or the wrong size";
        return false;
    }
    aOut.resize(aValue.arrayLength);
    bool converted = true;
    for (size_t i = 0; i < aOut.size(); ++i)
    {
        const uint8_t* element = data + i * elementSize;
        switch (aValue.type)
        {
        case 'i':
        {
            int32_t v = 0;
            std::memcpy(&v, element, 4);
            aOut[i] = static_cast<T>(v);
            break;
        }
        case 'l':
        {
            int64_t v = 0;
            std::memcpy(&v, element, 8);
            aOut[i] = static_cast<T>(v);
            break;
        }
        case 'f':
        {
            float v = 0;
            std::memcpy(&v, element, 4);
            converted = converted && ConvertElement(v, aOut[i]);
            break;
        }
        case 'd':
        {
            double v = 0;
            std::memcpy(&v, element, 8);
            converted = converted && ConvertElement(v, aOut[i]);
            break;
        }
        default:
            aOut[i] = static_cast<T>(*element);
            break;
        }
    }
    if (!converted)
    {
        aError = "an array of whole numbers holds a value out of their range";
    }
    return converted;
}
} // namespace

bool RecordValue::IsNumber() const
{
    return type == 'Y' || type == 'C' || type == 'I' || type == 'L' || type == 'F' || type == 'D';
}

bool RecordValue::IsArray() const
{
    return ElementSize(type) != 0;
}

double RecordValue::AsDouble() const
{
    if (type == 'F' || type == 'D')
    {
        return real;
    }
    return IsNumber() ? static_cast<double>(integer) : 0.0;
}

int64_t RecordValue::AsInteger() const
{
    if (type == 'F' || type == 'D')
    {
        int64_t value = 0;
        return RealToInteger(real, value) ? value : 0;
    }
    return IsNumber() ? integer : 0;
}

bool RealToInteger(double aValue, int64_t& aOut)
{
    // 2^63 is exact as a double; the comparisons are false for NaN.
    constexpr double LIMIT = 9223372036854775808.0;
    if (!(aValue >= -LIMIT && aValue < LIMIT))
    {
        return false;
    }
    aOut = static_cast<int64_t>(aValue);
    return true;
}

const Record* Record::Find(std::string_view aName) const
{
    const auto it =
        std::find_if(children.begin(), children.end(), [&](const Record& r) { return r.name == aName; });
    return it == children.end() ? nullptr : &*it;
}

bool IsBinaryFbx(std::span<const uint8_t> aBytes)
{
    return aBytes.size() >= HEADER_SIZE && AsText(aBytes.first(SIGNATURE.size())) == SIGNATURE;
}

bool IsTextFbx(std::span<const uint8_t> aBytes)
{
    const std::string_view head = AsText(aBytes.first(std::min<size_t>(aBytes.size(), 4096)));
    return head.starts_with("; FBX") || head.find("FBXHeaderExtension") != std::string_view::npos;
}

bool ParseRecords(std::span<const uint8_t> aBytes, Record& aRoot, std::string& aError)
{
    if (!IsBinaryFbx(aBytes))
    {
        aError = "not a binary FBX file";
        return false;
    }
    uint32_t version = 0;
    std::memcpy(&version, aBytes.data() + 23, sizeof(version));
    aRoot = Record{};
    Parser parser(aBytes, version);
    return parser.ReadList(aRoot.children, aBytes.size(), 0, aError);
}

bool DecodeArray(const RecordValue& aValue, std::vector<double>& aOut, std::string& aError)
{
    return DecodeArrayAs(aValue, aOut, aError);
}

bool DecodeArray(const RecordValue& aValue, std::vector<int64_t>& aOut, std::string& aError)
{
    return DecodeArrayAs(aValue, aOut, aError);
}
} // namespace Qel::Fbx
