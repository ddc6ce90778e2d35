// The parse stage on simulator recordings: its pins, its chunk index (from idx1 and from a
// walk of a cut-off file), seeking the demultiplexer, the telemetry packets, and how it reads
// a recording from disk or from a card.

#include "PlaybackHarness.h"
#include "SmallAvi.h"
#include "app/avi/TextPacketReader.h"
#include "playback/PinCount.h"
#include "playback/RecordingBytes.h"
#include "playback/StreamParseFilter.h"

#include <filesystem>

using namespace kx;
using namespace kx::test;

namespace {

class ParseStageTest : public PlaybackTest {};

std::vector<std::string> PinNames(const StreamParseFilter& f) {
    std::vector<std::string> names;
    for (const OutputPin& p : f.Pins()) names.push_back(p.name);
    return names;
}

TEST_F(ParseStageTest, PinsFollowTheStreamsAndAreCountedByName) {
    struct Case {
        int channels;
        sim::AudioKind audio;
        std::vector<std::string> names;
        int videoPins;
        int audioPins;
    };
    const Case cases[] = {
        {2, sim::AudioKind::Aac, {"Video 1", "Video 2", "Audio", "Text"}, 2, 1},
        {1, sim::AudioKind::Pcm, {"Video 1", "Audio", "Text"}, 1, 1001},
        {2, sim::AudioKind::None, {"Video 1", "Video 2", "Text"}, 2, 0},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string path = Make("r" + std::to_string(n++) + ".avi", Small(c.channels, c.audio, 1));
        StreamParseFilter filter;
        ASSERT_EQ(filter.Load(path), kSOk);
        EXPECT_EQ(PinNames(filter), c.names);
        EXPECT_EQ(CountVideoPins(filter), c.videoPins);
        EXPECT_EQ(CountAudioPins(filter), c.audioPins);
        for (const OutputPin& p : filter.Pins()) {
            EXPECT_EQ(p.chunks, p.media == PinMedia::Text ? 0u : p.media == PinMedia::Video ? 30u : p.chunks) << p.name;
        }
        EXPECT_EQ(filter.VideoDuration(), 10'000'000);
    }
}

// A camera that lost power leaves no index: the walk must find the same chunks, times and key
// frames as idx1 gives for the part that was written.
TEST_F(ParseStageTest, WalkOfACutFileAgreesWithTheIndexOfTheWholeFile) {
    auto options = Small(2, sim::AudioKind::Aac, 3);
    const std::string whole = Make("whole.avi", options);
    options.cut = std::filesystem::file_size(whole) * 2 / 3;
    const std::string cut = Make("cut.avi", options);

    StreamParseFilter a, b;
    ASSERT_EQ(a.Load(whole), kSOk);
    ASSERT_EQ(b.Load(cut), kSOk);
    ASSERT_TRUE(a.Index().FromIdx1());
    ASSERT_FALSE(b.Index().FromIdx1());
    const auto& full = a.Index().Chunks();
    const auto& walked = b.Index().Chunks();
    ASSERT_GT(walked.size(), full.size() / 2);
    ASSERT_LT(walked.size(), full.size());
    int keys = 0;
    for (std::size_t i = 0; i < walked.size(); ++i) {
        EXPECT_EQ(walked[i].offset, full[i].offset) << i;
        EXPECT_EQ(walked[i].stream, full[i].stream) << i;
        EXPECT_EQ(walked[i].start, full[i].start) << i;
        EXPECT_EQ(walked[i].key, full[i].key) << i;
        keys += walked[i].key && walked[i].stream < 2;
    }
    EXPECT_EQ(keys, 4);  // frames 0 and 30 of both channels
}

TEST_F(ParseStageTest, SeekDeliversFromTheKeyFrameBeforeTheTargetAndTheSoundThatHoldsIt) {
    const std::string path = Make("r.avi", Small(2, sim::AudioKind::Aac, 3));
    StreamParseFilter filter;
    ASSERT_EQ(filter.Load(path), kSOk);
    MoviReader& demux = filter.Demux();
    for (std::size_t p = 0; p < filter.Pins().size(); ++p) demux.SetWanted(p, true);
    struct Case {
        std::int64_t ms;
        std::int64_t firstFrame;
    };
    for (const Case c : {Case{1500, 30}, Case{999, 0}, Case{1000, 30}, Case{0, 0}, Case{99999, 60}}) {
        demux.Seek(c.ms);
        PacketPtr packet = MakePacket();
        std::size_t pin = 0;
        std::vector<std::int64_t> firstOf(filter.Pins().size(), -1);
        for (int i = 0; i < 400 && demux.Next(pin, *packet); ++i)
            if (firstOf[pin] < 0) firstOf[pin] = packet->pts;
        EXPECT_EQ(firstOf[0], c.firstFrame) << c.ms;
        EXPECT_EQ(firstOf[1], c.firstFrame) << c.ms;
        // Sound block j covers [j, j + 1) x 1024 / 22050 s.
        const std::int64_t block = std::min<std::int64_t>(c.ms, 3000) * 22050 / 1024 / 1000;
        if (c.ms < 3000) {
            EXPECT_EQ(firstOf[2], block) << c.ms;
        }
    }
}

TEST_F(ParseStageTest, TextPacketsComeOutWithTheirTimesThenEndWith38) {
    const std::string path = Make("r.avi", Small(2, sim::AudioKind::Aac, 2));
    StreamParseFilter filter;
    ASSERT_EQ(filter.Load(path), kSOk);
    auto bytes = FileByteSource::Open(path);
    std::string error;
    TextPacketReader reference(*bytes, *ReadAviFile(*bytes, error));

    int packets = 0;
    for (;;) {
        std::uint8_t got[1024] = {}, want[1024] = {};
        std::uint32_t gotLength = 1024, wantLength = 1024, gotTime = 0, wantTime = 0;
        const HResult hr = filter.NextTextPacket(got, gotLength, gotTime);
        const int expected = reference.Next(want, wantLength, wantTime);
        ASSERT_EQ(hr, expected == kTextPacketOk ? kTextPacketDelivered : kNoMoreTextPackets);
        if (hr == kNoMoreTextPackets) break;
        ASSERT_EQ(gotLength, wantLength);
        EXPECT_EQ(std::memcmp(got, want, gotLength), 0);
        EXPECT_EQ(gotTime, wantTime);
        ++packets;
    }
    EXPECT_EQ(packets, 20 + 2);  // a G-sensor sample every 100 ms, a fix every second
    std::uint8_t buffer[16];
    std::uint32_t length = 16, time = 0;
    EXPECT_EQ(filter.NextTextPacket(buffer, length, time), kNoMoreTextPackets);
}

TEST_F(ParseStageTest, LoadRefusesWhatIsNotARecording) {
    const std::string good = Make("r.avi", Small(1, sim::AudioKind::None, 1));
    const std::string bytes = ReadFileBytes(good);
    WriteFileBytes(dir / "text.avi", "hello, not a recording");
    WriteFileBytes(dir / "header.avi", bytes.substr(0, 200));  // cut inside the header list
    struct Case {
        std::string path;
        HResult result;
    };
    for (const Case& c : {Case{dir / "missing.avi", kEFileNotFound}, Case{dir / "text.avi", kVfwInvalidFileFormat},
                          Case{dir / "header.avi", kVfwInvalidFileFormat}, Case{dir.path(), kEFileNotFound}}) {
        StreamParseFilter filter;
        EXPECT_EQ(filter.Load(c.path), c.result) << c.path;
        EXPECT_TRUE(filter.Pins().empty());
    }
    StreamParseFilter twice;
    EXPECT_EQ(twice.Load(good), kSOk);
    EXPECT_EQ(twice.Load(good), kEFail);
}

// A card file is read through the card layer's byte source, in place.
TEST_F(ParseStageTest, ACardFileIsReadThroughTheRegisteredOpener) {
    const std::string path = Make("r.avi", Small(2, sim::AudioKind::Aac, 1));
    const std::string bytes = ReadFileBytes(path);
    std::uintptr_t seenContext = 0;
    std::int32_t seenLocator = 0;
    SetCardFileOpener([&](std::uintptr_t context, std::int32_t locator) -> std::unique_ptr<ByteSource> {
        seenContext = context;
        seenLocator = locator;
        if (locator != 7) return nullptr;
        return std::make_unique<MemoryByteSource>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    });
    StreamParseFilter card;
    card.SetSource(0x1234, 7);
    EXPECT_EQ(card.Load("ignored"), kSOk);
    EXPECT_EQ(seenContext, 0x1234u);
    EXPECT_EQ(seenLocator, 7);
    EXPECT_EQ(CountVideoPins(card), 2);

    StreamParseFilter unknown;
    unknown.SetSource(0x1234, 8);
    EXPECT_EQ(unknown.Load("ignored"), kEFileNotFound);
    SetCardFileOpener({});
    StreamParseFilter noLibrary;
    noLibrary.SetSource(0x1234, 7);
    EXPECT_EQ(noLibrary.Load(path), kEFileNotFound);
}

TEST(KeyFrameTest, FirstNalUnitsTellKeyFrames) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        bool key;
    };
    const Case cases[] = {
        {{0, 0, 0, 1, 0x67, 0x64}, true},                      // SPS first
        {{0, 0, 0, 1, 0x65, 0x88}, true},                      // IDR slice
        {{0, 0, 0, 1, 0x41, 0x9a}, false},                     // other slice
        {{0, 0, 0, 1, 0x09, 0xf0, 0, 0, 0, 1, 0x67}, true},    // delimiter, then SPS
        {{0, 0, 1, 0x06, 0x05, 0, 0, 1, 0x01}, false},         // SEI, then a slice
        {{1, 2, 3, 4, 5, 6}, false},                           // no start code
    };
    for (const Case& c : cases) EXPECT_EQ(StartsWithKeyFrame(c.bytes.data(), c.bytes.size()), c.key);
}

}  // namespace
