// Plays through SDL's disk audio driver, which writes the mixed output to a file, and reads the file
// back: the sample must really reach the output, scaled by its channel volume and balanced by its pan.
#include "Platform/Sound/SampleMixer.h"
#include "Support/TempDir.h"
#include "Support/ToneWave.h"
#include "Support/WaitUntil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace
{
constexpr double TONE_AMPLITUDE = 0.5;
// Four of the mixer's device buffers (1,024 stereo 16-bit frames) and the file stream's own buffer.
constexpr std::uintmax_t GROWTH_BYTES = 4 * 1024 * 4 + 8192;

struct Peaks
{
    int myLeft = 0;
    int myRight = 0;
};

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char* aName, const std::string& aValue) : myName(aName)
    {
        if (const char* old = std::getenv(aName))
        {
            myOld = old;
        }
        setenv(aName, aValue.c_str(), 1);
    }
    ~ScopedEnvironment()
    {
        if (myOld)
        {
            setenv(myName, myOld->c_str(), 1);
        }
        else
        {
            unsetenv(myName);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* myName;
    std::optional<std::string> myOld;
};

// Plays a 0.3 s tone once at the given volume and pan on the disk driver; the peaks of each side.
Peaks PlayToDisk(float aVolume, std::optional<float> aPan)
{
    QelTest::TempDir folder;
    const std::filesystem::path output = folder.GetPath() / "mix.raw";
    QelTest::ToneSpec spec;
    spec.mySeconds = 0.3;
    spec.myAmplitude = TONE_AMPLITUDE;
    const std::string tone = folder.WriteFile("tone.wav", QelTest::MakeToneWav(spec)).string();
    {
        ScopedEnvironment driver("SDL_AUDIODRIVER", "disk");
        ScopedEnvironment file("SDL_DISKAUDIOFILE", output.string());
        Qel::SampleMixer mixer;
        EXPECT_TRUE(mixer.IsOpen());
        const std::uint32_t sample = mixer.LoadSample(tone, 3, 0);
        // Silent until pan and volume are both set, so no mixed buffer falls between the two calls.
        const std::uint32_t channel = mixer.PlaySample(sample, 0.0f);
        EXPECT_NE(channel, 0u);
        if (aPan)
        {
            EXPECT_TRUE(mixer.SetChannelPan(channel, *aPan));
        }
        EXPECT_TRUE(mixer.SetChannelVolume(channel, aVolume));
        EXPECT_TRUE(QelTest::WaitUntil([&] { return mixer.GetSampleChannels(sample).empty(); }));
        // The buffer that ended the tone was mixed; the driver writes it before it mixes the next, and
        // the file grows past it once a few more buffers have gone the same way.
        const std::uintmax_t ended = std::filesystem::file_size(output);
        EXPECT_TRUE(
            QelTest::WaitUntil([&] { return std::filesystem::file_size(output) > ended + GROWTH_BYTES; }));
    }
    std::ifstream in(output, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> frames(bytes.size() / 2);
    std::copy_n(bytes.data(), frames.size() * 2, reinterpret_cast<char*>(frames.data()));
    EXPECT_GT(frames.size(), 2u * 44100u / 5u) << "less output than the tone's length";
    Peaks peaks;
    for (std::size_t index = 0; index + 1 < frames.size(); index += 2)
    {
        peaks.myLeft = std::max(peaks.myLeft, std::abs(static_cast<int>(frames[index])));
        peaks.myRight = std::max(peaks.myRight, std::abs(static_cast<int>(frames[index + 1])));
    }
    return peaks;
}

double FullScalePeak(double aGain)
{
    return 32767.0 * TONE_AMPLITUDE * aGain;
}

TEST(DiskOutput, ACentredSampleReachesBothSidesAtItsVolume)
{
    const Peaks peaks = PlayToDisk(1.0f, std::nullopt);
    EXPECT_NEAR(peaks.myLeft, FullScalePeak(1.0), FullScalePeak(1.0) * 0.02);
    EXPECT_NEAR(peaks.myRight, FullScalePeak(1.0), FullScalePeak(1.0) * 0.02);
}

TEST(DiskOutput, VolumeScalesAndPanBalancesTheOutput)
{
    // Pan +0.5 keeps the right side whole and halves the left.
    const Peaks peaks = PlayToDisk(0.5f, 0.5f);
    EXPECT_NEAR(peaks.myRight, FullScalePeak(0.5), FullScalePeak(0.5) * 0.03);
    EXPECT_NEAR(peaks.myLeft, FullScalePeak(0.25), FullScalePeak(0.25) * 0.03);
}

TEST(DiskOutput, FullLeftPanSilencesTheRightSide)
{
    const Peaks peaks = PlayToDisk(1.0f, -1.0f);
    EXPECT_NEAR(peaks.myLeft, FullScalePeak(1.0), FullScalePeak(1.0) * 0.02);
    EXPECT_EQ(peaks.myRight, 0);
}
} // namespace
