// Decoding of sound files into the mixer's own format (44100 Hz, stereo, signed 16-bit in the machine's
// byte order), as loading a sample does, but without the mixer: WAV files through SDL's reader, MP3
// files through libmpg123. Pure functions over files; any thread may call them, several at once.
//
// SDL detects the CPU's features and picks its converters on first use without a lock: when two
// threads make that first use together, the process can be left without any converter, and every
// later conversion (the mixer's own loads too) fails. PrepareSampleDecoding settles them on one
// thread; each decode runs it first, and whoever starts decodes on other threads runs it before.
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

// Runs once per process; later calls return at once.
void PrepareSampleDecoding();

// The PCM of the file, or nothing when it is neither a readable WAV nor a readable MP3 file (the
// mixer's own loader then decides, as it does for every other format). When the file is a WAV or MP3
// file that cannot be decoded, aOutFailure (if given) tells why; otherwise it is left empty.
std::optional<DecodedSample> DecodeSampleFile(const std::string& aPath, std::string* aOutFailure = nullptr);
} // namespace Qel
