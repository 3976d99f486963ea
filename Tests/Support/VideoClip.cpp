#include "Support/VideoClip.h"

#include <cstdlib>
#include <sstream>

namespace QelTest
{
namespace
{
std::string CodecArguments(ClipCodec aCodec)
{
    switch (aCodec)
    {
    case ClipCodec::LOSSLESS_RGB:
        return "-c:v rawvideo -pix_fmt rgb24 -c:a pcm_s16le";
    case ClipCodec::MPEG4:
        return "-c:v mpeg4 -q:v 2 -pix_fmt yuv420p -c:a aac";
    case ClipCodec::H264:
        return "-c:v libx264 -preset fast -bf 3 -pix_fmt yuv420p -c:a aac";
    }
    return {};
}
} // namespace

double ClipSeconds(const ClipSpec& aSpec)
{
    double numerator = 0.0;
    double denominator = 1.0;
    std::istringstream rate(aSpec.myRate);
    rate >> numerator;
    if (rate.get() == '/')
    {
        rate >> denominator;
    }
    return numerator > 0.0 && denominator > 0.0 ? aSpec.myFrameCount * denominator / numerator : 0.0;
}

bool MakeVideoClip(const std::filesystem::path& aPath, const ClipSpec& aSpec)
{
    std::ostringstream size;
    size << aSpec.myWidth << "x" << aSpec.myHeight;
    std::ostringstream command;
    command.precision(9);
    const double seconds = ClipSeconds(aSpec);
    command << "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i \"";
    if (aSpec.myTestPattern)
    {
        command << "testsrc2=size=" << size.str() << ":rate=" << aSpec.myRate << ":duration=" << seconds;
    }
    else
    {
        command << "color=black:size=" << size.str() << ":rate=" << aSpec.myRate << ":duration=" << seconds
                << ",format=rgb24,geq=r='mod(N*8\\,256)':g='min(X*3\\,255)':b='min(Y*5\\,255)'";
    }
    command << "\"";
    if (aSpec.myWithSound)
    {
        // As long as the pictures, so the track's length does not depend on how ffmpeg interleaves.
        command << " -f lavfi -t " << seconds << " -i \"sine=frequency=440:sample_rate=48000\"";
    }
    // A picture limit would end the file before the sound track's end; with sound the lengths decide.
    if (!aSpec.myWithSound)
    {
        command << " -frames:v " << aSpec.myFrameCount;
    }
    command << " " << CodecArguments(aSpec.myCodec) << " \"" << aPath.string() << "\"";
    return std::system(command.str().c_str()) == 0 && std::filesystem::exists(aPath);
}
} // namespace QelTest
