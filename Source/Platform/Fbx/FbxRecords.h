// Reader of the FBX node-record tree, binary (a header, then nested records, each a name, a list of
// typed values - scalars, strings and possibly zlib-compressed arrays - and child records) or text.
// Records point into the caller's byte buffer, which must outlive them. Arrays are decoded on
// request. No state is shared; use from any thread.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Qel::Fbx
{
struct RecordValue
{
    // 'Y', 'C', 'I', 'L' integers; 'F', 'D' reals; 'S', 'R' byte strings; 'i', 'l', 'f', 'd', 'b', 'c'
    // arrays.
    char type = 0;
    int64_t integer = 0;
    double real = 0.0;
    std::string_view text;
    uint32_t arrayLength = 0;
    uint32_t encoding = 0;
    std::span<const uint8_t> payload;

    bool IsNumber() const;
    bool IsArray() const;
    // A scalar number as double or integer; 0 for anything else, and for a real RealToInteger refuses.
    double AsDouble() const;
    int64_t AsInteger() const;
};

struct Record
{
    std::string_view name;
    std::vector<RecordValue> values;
    std::vector<Record> children;

    // The first child of that name, or null.
    const Record* Find(std::string_view aName) const;
};

// The most array elements one file may declare, all its arrays together: far beyond any model or
// clip of ours, and it keeps a damaged length from asking for gigabytes.
inline constexpr uint64_t MAX_ARRAY_ELEMENTS = 32u << 20;

// The one conversion of a real number from a file to an integer: truncates toward zero, and refuses
// (false) NaN, the infinities and values outside the int64 range.
bool RealToInteger(double aValue, int64_t& aOut);

// True when the bytes start with the binary FBX signature.
bool IsBinaryFbx(std::span<const uint8_t> aBytes);
// True when the bytes look like a text FBX file (its comment header or header extension).
bool IsTextFbx(std::span<const uint8_t> aBytes);

// Parses a whole binary file into aRoot (an unnamed record whose children are the top-level
// records). Every length and offset is checked against the buffer, and the arrays' declared lengths
// against the buffer and MAX_ARRAY_ELEMENTS; false with aError on damage.
bool ParseRecords(std::span<const uint8_t> aBytes, Record& aRoot, std::string& aError);

// Parses a whole text file into the same tree; false with aError when its structure is damaged.
bool ParseTextRecords(std::span<const uint8_t> aBytes, Record& aRoot, std::string& aError);

// Decodes an array value (any numeric element type, raw or deflated). False with aError when the
// value is not an array or its payload is damaged.
bool DecodeArray(const RecordValue& aValue, std::vector<double>& aOut, std::string& aError);
bool DecodeArray(const RecordValue& aValue, std::vector<int64_t>& aOut, std::string& aError);
// The text-form half of DecodeArray.
bool DecodeTextArray(const RecordValue& aValue, std::vector<double>& aOut, std::string& aError);
} // namespace Qel::Fbx
