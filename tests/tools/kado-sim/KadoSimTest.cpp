#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <string>

#include "BlockEncoder.h"
#include "DefaultScript.h"
#include "Player.h"
#include "Script.h"
#include "ScriptError.h"

using kado::Bytes;

namespace {

Bytes streamOf(const std::string& script, const kado::Faults& faults = {}) {
    return kado::flatten(kado::render(kado::parseScript(script), faults));
}

float floatAt(const Bytes& b, size_t payload) {
    const uint32_t bits = uint32_t(b[payload]) << 24 | uint32_t(b[payload + 1]) << 16 |
                          uint32_t(b[payload + 2]) << 8 | uint32_t(b[payload + 3]);
    return std::bit_cast<float>(bits);
}

}  // namespace

TEST(BlockEncoder, FloatsGoOutMostSignificantByteFirst) {
    struct Case {
        char type;
        float value;
        Bytes bytes;
    };
    const Case cases[] = {
        {'U', 10.0f, {0x96, 'U', 0x41, 0x20, 0x00, 0x00}},
        {'V', 0.004f, {0x96, 'V', 0x3B, 0x83, 0x12, 0x6F}},
        {'C', -1.5f, {0x96, 'C', 0xBF, 0xC0, 0x00, 0x00}},
        {'D', 0.0f, {0x96, 'D', 0x00, 0x00, 0x00, 0x00}},
        {'F', std::numeric_limits<float>::infinity(), {0x96, 'F', 0x7F, 0x80, 0x00, 0x00}},
    };
    for (const Case& c : cases) EXPECT_EQ(kado::floatBlock(c.type, c.value), c.bytes) << c.value;
}

TEST(BlockEncoder, MethodTextIsClosedBySyncAndMayNotHoldIt) {
    EXPECT_EQ(kado::methodBlock("A\r\n"), (Bytes{0x96, 'M', 'A', '\r', '\n', 0x96}));
    EXPECT_EQ(kado::methodBlock(""), (Bytes{0x96, 'M', 0x96}));
    EXPECT_THROW(kado::methodBlock("a\x96z"), std::invalid_argument);
}

TEST(Script, CommandsBecomeTheirBlocks) {
    struct Case {
        const char* line;
        Bytes bytes;
    };
    const Case cases[] = {
        {"pen on", {0x96, 'P', 1}},
        {"pen off", {0x96, 'P', 0}},
        {"status end", {0x96, 'R', 0}},
        {"status run", {0x96, 'R', 1}},
        {"status pause", {0x96, 'R', 2}},
        {"status hold", {0x96, 'R', 3}},
        {"status 9", {0x96, 'R', 9}},
        {"hold", {0x96, 'H', 1}},
        {"continue   # with a comment", {0x96, 'H', 2}},
        {"event 4", {0x96, 'E', 4}},
        {"  event 255", {0x96, 'E', 255}},
        {"flow 10", {0x96, 'F', 0x41, 0x20, 0x00, 0x00}},
        {"method Run 1 # 2\\r\\n\\x41\\\\", {0x96, 'M', 'R', 'u', 'n', ' ', '1', ' ', '#', ' ', '2', '\r', '\n', 'A', '\\', 0x96}},
        {"unknown X", {0x96, 'X', 0, 0, 0, 0}},
        {"raw 96 4d ff", {0x96, 'M', 0xFF}},
        {"# only a comment", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(streamOf(c.line), c.bytes) << c.line;
}

TEST(Script, BadLinesAreNamedByNumber) {
    struct Case {
        const char* script;
        int line;
    };
    const Case cases[] = {
        {"pen maybe", 1},
        {"points 10\n\nevent 256", 3},
        {"points -1", 1},
        {"points 1.5", 1},
        {"letters X C", 1},
        {"letters U", 1},
        {"peak 1 2 0", 1},
        {"flow nan", 1},
        {"method a\\q", 1},
        {"method \\x9", 1},
        {"method a\\x96", 1},
        {"raw 9", 1},
        {"unknown XY", 1},
        {"hold 1", 1},
        {"points 1\nfly away", 2},
    };
    for (const Case& c : cases) {
        try {
            kado::parseScript(c.script);
            ADD_FAILURE() << "accepted: " << c.script;
        } catch (const kado::ScriptError& e) {
            EXPECT_EQ(e.line(), c.line) << c.script << ": " << e.what();
        }
    }
}

TEST(Player, EachPointIsAUvBlockThenAConductivityBlockWithTheCurrentLetters) {
    const Bytes b = streamOf("points 1\nletters V D\npoints 1\nminutes 0.01\n");
    ASSERT_EQ(b.size(), 12u * 5);
    EXPECT_EQ(b[0], 0x96);
    EXPECT_EQ(b[1], 'U');
    EXPECT_EQ(b[6], 0x96);
    EXPECT_EQ(b[7], 'C');
    EXPECT_EQ(b[13], 'V');
    EXPECT_EQ(b[19], 'D');
    EXPECT_EQ(b[12 * 4 + 1], 'V');
}

TEST(Player, OnlyPointsArePaced) {
    const auto chunks = kado::render(kado::parseScript("points 2\npen on\nsilence 1.5\npoints 1"));
    ASSERT_EQ(chunks.size(), 5u);
    EXPECT_TRUE(chunks[0].paced);
    EXPECT_TRUE(chunks[1].paced);
    EXPECT_FALSE(chunks[2].paced);
    EXPECT_TRUE(chunks[3].bytes.empty());
    EXPECT_EQ(chunks[3].silenceSeconds, 1.5);
    EXPECT_TRUE(chunks[4].paced);
}

// The clock is the point count since the start: point n lies at n/300 min.
TEST(Player, PeaksAndGradientFollowThePointClock) {
    const Bytes b = streamOf(
        "baseline 0.01\npeak 1.0 0.5 0.05\ngradient 2 12 0.5 1.5\nminutes 2\n");
    ASSERT_EQ(b.size(), 600u * 12);
    auto uv = [&](size_t point) { return floatAt(b, point * 12 + 2); };
    auto cond = [&](size_t point) { return floatAt(b, point * 12 + 8); };
    EXPECT_FLOAT_EQ(uv(300), 0.51f);
    EXPECT_LT(uv(299), uv(300));
    EXPECT_LT(uv(301), uv(300));
    EXPECT_NEAR(uv(0), 0.01f, 1e-6);
    EXPECT_FLOAT_EQ(cond(0), 2.0f);
    EXPECT_FLOAT_EQ(cond(150), 2.0f);
    EXPECT_FLOAT_EQ(cond(300), 7.0f);
    EXPECT_FLOAT_EQ(cond(450), 12.0f);
    EXPECT_FLOAT_EQ(cond(599), 12.0f);
}

TEST(Player, ScriptFaultsAreExact) {
    const Bytes garbage = streamOf("garbage 300");
    EXPECT_EQ(garbage.size(), 300u);
    EXPECT_EQ(std::count(garbage.begin(), garbage.end(), 0x96), 0);
    EXPECT_EQ(garbage, streamOf("garbage 300")) << "noise must repeat from run to run";

    const Bytes cut = streamOf("cut\npoints 2");
    ASSERT_EQ(cut.size(), 22u);
    EXPECT_EQ((Bytes(cut.begin(), cut.begin() + 5)), (Bytes{0x96, 'U', 0x3B, 0xA3, 0x96}));
    EXPECT_EQ(cut[5], 'C');
    EXPECT_EQ(cut[10], 0x96);
    EXPECT_EQ(cut[11], 'U');
}

TEST(Player, FaultOptionsHitEveryNthPoint) {
    kado::Faults f;
    f.garbageEvery = 2;
    f.unknownEvery = 3;
    f.cutEvery = 4;
    f.silenceAtPoint = 1;
    f.silenceSeconds = 7;
    const auto chunks = kado::render(kado::parseScript("points 4"), f);
    // point 1, silence, point 2, garbage, point 3, unknown, point 4 (cut), garbage
    ASSERT_EQ(chunks.size(), 8u);
    EXPECT_EQ(chunks[1].silenceSeconds, 7.0);
    EXPECT_EQ(chunks[3].bytes.size(), 8u);
    EXPECT_EQ(chunks[5].bytes, (Bytes{0x96, 'X', 0, 0, 0, 0}));
    EXPECT_EQ(chunks[6].bytes.size(), 10u);
    EXPECT_EQ(chunks[7].bytes.size(), 8u);
}

TEST(Player, ReplaySendsTheFileAsItIsTwelveBytesAPointTime) {
    Bytes file(25);
    for (size_t i = 0; i < file.size(); ++i) file[i] = static_cast<uint8_t>(i);
    const auto chunks = kado::replay(file);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].bytes.size(), 12u);
    EXPECT_EQ(chunks[2].bytes.size(), 1u);
    for (const auto& c : chunks) EXPECT_TRUE(c.paced);
    EXPECT_EQ(kado::flatten(chunks), file);
    EXPECT_TRUE(kado::replay({}).empty());
}

// The recorder aligns only on a UV block followed by a sync byte, so the
// built-in run must open with plain points before any status block.
TEST(DefaultScript, ParsesAndOpensWithPointsTheRecorderCanAlignOn) {
    const auto chunks = kado::render(kado::parseScript(kado::kDefaultScript));
    ASSERT_GT(chunks.size(), 10u);
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(chunks[i].paced);
        EXPECT_EQ(chunks[i].bytes[1], 'U');
    }
    const Bytes all = kado::flatten(chunks);
    const auto has = [&](Bytes block) {
        return std::search(all.begin(), all.end(), block.begin(), block.end()) != all.end();
    };
    EXPECT_TRUE(has({0x96, 'P', 1}));
    EXPECT_TRUE(has({0x96, 'R', 1}));
    EXPECT_TRUE(has({0x96, 'R', 2}));
    EXPECT_TRUE(has({0x96, 'R', 0}));
    EXPECT_TRUE(has({0x96, 'H', 1}));
    EXPECT_TRUE(has({0x96, 'E', 2}));
    EXPECT_TRUE(has({0x96, 'M', 'D', 'e', 'm', 'o'}));
}
