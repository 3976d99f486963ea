// Decoding of sound files into the mixer's own format (44100 Hz, stereo, signed 16-bit in the machine's
// byte order), as loading a sample does, but without the mixer: WAV files through SDL's reader, MP3
// files through libmpg123. Pure functions over files; any thread may call them, several at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace Qel
{
struct SdlFree
{
    void operator()(std::uint8_t* someBytes) const;
};

// PCM bytes held in SDL's allocator, so a mixer chunk can take them over without a copy.
struct DecodedSample
{
    std::unique_ptr<std::uint8_t, SdlFree> bytes;
    std::size_t size = 0;
};

// The PCM of the file, or nothing when it is neither a readable WAV nor a readable MP3 file (the
// mixer's own loader then decides, as it does for every other format).
std::optional<DecodedSample> DecodeSampleFile(const std::string& aPath);
} // namespace Qel
