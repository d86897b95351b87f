#include "core/run/BlockDecoder.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>

#include "fakes/RecorderRig.h"

namespace tavrin::test {
namespace {

using Item = MainWindowControls::Item;

constexpr const char* kDate = "12/10/2026 10:22:01 AM\r\n";

// The dump that GetLastBytes appends: the 32 stream bytes before the byte
// just past the offending one (the stream starts at ring index 0).
std::string dumpBefore(const Bytes& stream, size_t pastOffending) {
    std::string out = "\r\n";
    for (size_t i = pastOffending - 33; i < pastOffending - 1; ++i) {
        out += ' ';
        out += std::to_string(stream[i]);
    }
    return out;
}

struct Decoder : ::testing::Test {
    RecorderRig rig;

    // Aligned and recording, the aligning point decoded, status blocks seen
    // so that the UV letters drive nothing.
    void startRecording() {
        rig.align();
        rig.run().mnuStart_Click();
        rig.globals().StatusBlocksSeen = true;
        rig.tick();
    }
};

TEST_F(Decoder, PayloadIsMostSignificantByteFirst) {
    startRecording();
    rig.receive({kSync, 'V', 0x41, 0x20, 0x00, 0x00, kSync, 'C', 0xC0, 0x00, 0x00, 0x00});
    rig.tick();
    ASSERT_EQ(rig.live.points(), 2);
    EXPECT_EQ(rig.live.point(1).Y1, 10.0f);
    EXPECT_EQ(rig.live.point(1).Y2, -2.0f);
    const auto& fb = rig.decoder().FloatBytes.Bytes;
    EXPECT_EQ(fb[0], 0x00);
    EXPECT_EQ(fb[3], 0xC0);
}

TEST_F(Decoder, EveryFloatLetterFeedsItsValue) {
    startRecording();
    rig.receive(cat({uv('U', 1.f), cond('C', 2.f), uv('V', 3.f), cond('D', 4.f)}));
    rig.tick();
    ASSERT_EQ(rig.live.points(), 3);
    EXPECT_EQ(rig.live.point(1).Y1, 1.f);
    EXPECT_EQ(rig.live.point(1).Y2, 2.f);
    EXPECT_EQ(rig.live.point(2).Y1, 3.f);
    EXPECT_EQ(rig.live.point(2).Y2, 4.f);
}

TEST_F(Decoder, FBlockIsDroppedAndMarksStatusBlocks) {
    rig.align();
    rig.tick();
    rig.receive(cat({fblock(), point()}));
    rig.tick();
    EXPECT_TRUE(rig.globals().StatusBlocksSeen);
    EXPECT_EQ(rig.decoder().comBuffer().ByteCount(), 0);
    EXPECT_TRUE(rig.errorLog.entries.empty());
}

TEST_F(Decoder, MethodBlockBecomesADatedEntryAndItsClosingByteIsConsumed) {
    startRecording();
    rig.globals().LogOn = true;
    rig.receive(cat({method("Gradient 5%"), point()}));
    rig.tick();
    ASSERT_EQ(rig.live.methods(), 1);
    EXPECT_EQ(rig.live.method(0).Method, std::string(kDate) + "Gradient 5%\r\n");
    EXPECT_EQ(rig.live.method(0).XPos, 0.f);
    ASSERT_EQ(rig.log.methods(), 1);
    EXPECT_EQ(rig.live.points(), 2);
    EXPECT_TRUE(rig.errorLog.entries.empty());
}

TEST_F(Decoder, AnUnclosedMethodWaitsInTheRing) {
    startRecording();
    rig.receive({kSync, 'M', 'a', 'b'});
    rig.tick();
    rig.tick();
    EXPECT_EQ(rig.live.methods(), 0);
    EXPECT_EQ(rig.decoder().comBuffer().ByteCount(), 4);
    rig.receive(cat({{'c', kSync}, point()}));
    rig.tick();
    ASSERT_EQ(rig.live.methods(), 1);
    EXPECT_EQ(rig.live.method(0).Method, std::string(kDate) + "abc\r\n");
    EXPECT_EQ(rig.live.points(), 2);
}

// A line that never closes its method text cannot hold the ring: the text is
// cut, the rest is hunted away, and decoding resumes.
TEST_F(Decoder, AnEndlessMethodIsCutAndDecodingResumes) {
    startRecording();
    rig.receive({kSync, 'M'});
    for (int i = 0; i < 6; ++i) {
        rig.receive(Bytes(1000, 'x'));
        rig.tick();
    }
    ASSERT_EQ(rig.live.methods(), 1);
    EXPECT_EQ(rig.live.method(0).Method.size(),
              std::string(kDate).size() + BlockDecoder::kMaxMethodTextBytes + 2);
    rig.receive(repeat(point(), 3));
    rig.tick();
    rig.tick();
    EXPECT_GE(rig.live.points(), 3);
    EXPECT_LE(rig.decoder().comBuffer().ByteCount(), 12);
}

// A text that ends right at the cut keeps its closing byte, which must not
// be taken for the next block's sync byte.
TEST_F(Decoder, AMethodAsLongAsTheCutKeepsItsClosingByte) {
    startRecording();
    const std::string text(BlockDecoder::kMaxMethodTextBytes, 'x');
    const Bytes block = method(text);
    rig.receive(Bytes(block.begin(), block.end() - 1));
    rig.tick();
    EXPECT_EQ(rig.live.methods(), 0);
    rig.receive(cat({{kSync}, point()}));
    rig.tick();
    ASSERT_EQ(rig.live.methods(), 1);
    EXPECT_EQ(rig.live.method(0).Method, std::string(kDate) + text + "\r\n");
    EXPECT_EQ(rig.live.points(), 2);
    EXPECT_TRUE(rig.errorLog.entries.empty());
    EXPECT_TRUE(rig.globals().InSync);
}

// Split at every byte position, the bytes arriving in two receive events
// either before the same tick or with a tick between them: the charts end
// up the same as from one piece.
TEST(DecoderSplit, BlocksSplitAnywhereDecodeTheSame) {
    const Bytes stream = cat({runStatus(1), point('V', 1, 2), ev(2), method("m1"), point('V', 3, 4),
                              hold(1), fblock(), point('U', 5, 6), runStatus(2), point('V', 7, 8)});
    auto decode = [&](size_t split, bool tickBetween) {
        auto rig = std::make_unique<RecorderRig>();
        rig->align();
        rig->tick();
        rig->receive(Bytes(stream.begin(), stream.begin() + static_cast<long>(split)));
        if (tickBetween) rig->tick();
        rig->receive(Bytes(stream.begin() + static_cast<long>(split), stream.end()));
        rig->tick();
        return rig;
    };
    const auto whole = decode(0, false);
    ASSERT_EQ(whole->live.points(), 4);
    ASSERT_EQ(whole->live.labelTexts(), "S1HP");
    for (size_t split = 1; split < stream.size(); ++split) {
        for (const bool tickBetween : {false, true}) {
            SCOPED_TRACE(testing::Message() << "split " << split << " tick " << tickBetween);
            const auto r = decode(split, tickBetween);
            EXPECT_EQ(r->live.points(), 4);
            EXPECT_EQ(r->live.labelTexts(), "S1HP");
            EXPECT_EQ(r->live.methods(), 1);
            EXPECT_EQ(r->live.point(3).Y2, 8.f);
            EXPECT_TRUE(r->errorLog.entries.empty());
            EXPECT_EQ(r->decoder().comBuffer().ByteCount(), 0);
        }
    }
}

// Puts whole points through the decoder until the ring's put index stands
// at `target`, padding with a method block (not recorded while idle).
void fillRingTo(RecorderRig& rig, int target) {
    int put = rig.decoder().comBuffer().PutIndex();
    while (target - put >= 12 + 3 + 600) {
        rig.receive(repeat(point(), 50));
        rig.tick();
        put += 600;
    }
    while (target - put >= 12 + 3) {
        rig.receive(point());
        put += 12;
    }
    rig.receive(method(std::string(static_cast<size_t>(target - put - 3), 'p')));
    rig.tick();
    ASSERT_EQ(rig.decoder().comBuffer().PutIndex(), target);
    ASSERT_EQ(rig.decoder().comBuffer().ByteCount(), 0);
}

TEST(DecoderRing, ABlockAcrossTheRingEndDecodesWhole) {
    for (int before = 1; before < 12; ++before) {
        SCOPED_TRACE(before);
        RecorderRig rig;
        rig.align();
        fillRingTo(rig, ComBuffer::kSize - before);
        rig.run().mnuStart_Click();
        rig.globals().StatusBlocksSeen = true;
        rig.receive(cat({uv('V', 0.25f), cond('C', 7.5f)}));
        rig.tick();
        ASSERT_EQ(rig.live.points(), 1);
        EXPECT_EQ(rig.live.point(0).Y1, 0.25f);
        EXPECT_EQ(rig.live.point(0).Y2, 7.5f);
        EXPECT_TRUE(rig.errorLog.entries.empty());
    }
}

TEST(DecoderRing, TheErrorDumpWrapsLikeTheRing) {
    RecorderRig rig;
    rig.align();
    fillRingTo(rig, ComBuffer::kSize - 6);
    // A point over the end, then a stray byte at index 6.
    const Bytes tail = cat({point(), {0x41}, point()});
    rig.receive(tail);
    rig.tick();
    ASSERT_EQ(rig.errorLog.entries.size(), 1u);
    std::string dump = "\r\n";
    for (int i = 6 + 1 - 33; i < 6; ++i) {
        dump += ' ';
        dump += std::to_string(rig.decoder().comBuffer().At(i));
    }
    EXPECT_EQ(rig.errorLog.entries[0], std::string(kDate) +
                                           "ERROR - Lost Sync.Sub PeekDataBlock; Sync Byte Expected; "
                                           "Actual Byte Received: 65" +
                                           dump + "\r\n");
    // The dump ends with the point's bytes, wrapped from 9994 to 5.
    EXPECT_NE(dump.find(" 150 86 63 0 0 0 150 67 65 72 0 0"), std::string::npos) << dump;
}

// A recording stream with a known history, for the exact dumps.
struct Stream {
    RecorderRig rig;
    Bytes sent;
    void send(const Bytes& b) {
        sent.insert(sent.end(), b.begin(), b.end());
        rig.receive(b);
    }
    Stream() {
        send(repeat(point(), 4));  // the first aligns, the rest are history for the dump
        rig.tick();
        rig.run().mnuStart_Click();
        rig.globals().StatusBlocksSeen = true;
        rig.tick();
    }
};

TEST(DecoderErrors, LostSyncIsLoggedWithItsDumpAndTheStreamRealigns) {
    Stream s;
    s.send({0x41});
    const size_t past = s.sent.size();
    s.send(repeat(point(), 3));
    s.rig.tick();
    ASSERT_EQ(s.rig.errorLog.entries.size(), 1u);
    EXPECT_EQ(s.rig.errorLog.entries[0],
              std::string(kDate) +
                  "ERROR - Lost Sync.Sub PeekDataBlock; Sync Byte Expected; Actual Byte Received: 65" +
                  dumpBefore(s.sent, past) + "\r\n");
    EXPECT_FALSE(s.rig.globals().InSync);
    EXPECT_EQ(s.rig.ui.beeps, 1);
    const int before = s.rig.live.points();
    s.rig.tick();  // hunt
    EXPECT_TRUE(s.rig.globals().InSync);
    s.rig.tick();  // decode
    EXPECT_EQ(s.rig.live.points(), before + 3);
    EXPECT_EQ(s.rig.errorLog.entries.size(), 1u);
}

TEST(DecoderErrors, UnknownTypeIsLoggedNothingConsumedAndTheStreamRealigns) {
    Stream s;
    s.send({kSync, 'Z', 1, 2});
    const size_t past = s.sent.size() - 2;
    s.send(repeat(point(), 3));
    s.rig.tick();
    ASSERT_EQ(s.rig.errorLog.entries.size(), 1u);
    EXPECT_EQ(s.rig.errorLog.entries[0],
              std::string(kDate) +
                  "ERROR - Unknown data type.Sub PeekDataBlock; Data Type Byte Expected; Actual "
                  "Byte Received: 90" +
                  dumpBefore(s.sent, past) + "\r\n");
    EXPECT_EQ(s.rig.decoder().comBuffer().ByteCount(), 4 + 36);
    const int before = s.rig.live.points();
    s.rig.tick();
    s.rig.tick();
    EXPECT_EQ(s.rig.live.points(), before + 3);
}

TEST(DecoderErrors, BadPayloadBytesAreConsumedAndTheTickGoesOn) {
    const struct {
        char type;
        const char* detail;
    } cases[] = {
        {'E', "Sub HandelEventData; Event Byte Expected; Actual Byte Received: 9"},
        {'H', "Sub HandelHoldData; Hold Byte Expected; Actual Byte Received: 9"},
        {'P', "Sub HandelPenStatusData; Pen Byte Expected; Actual Byte Received: 9"},
        {'R', "Sub HandelRunStatusData; Run Byte Expected; Actual Byte Received: 9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        Stream s;
        s.send(byteBlock(c.type, 9));
        const size_t past = s.sent.size();
        s.send(point());
        const int before = s.rig.live.points();
        s.rig.tick();
        ASSERT_EQ(s.rig.errorLog.entries.size(), 1u);
        EXPECT_EQ(s.rig.errorLog.entries[0], std::string(kDate) + "ERROR - Unknown data parameter." +
                                                 c.detail + dumpBefore(s.sent, past) + "\r\n");
        EXPECT_EQ(s.rig.live.points(), before + 1);  // the rest of the tick still decodes
        EXPECT_FALSE(s.rig.globals().InSync);
        EXPECT_TRUE(s.rig.run().Recording());
    }
}

TEST(DecoderErrors, TwoErrorsInOneTickGiveTwoEntriesEachWithItsOwnDetail) {
    Stream s;
    s.send(cat({ev(9), point(), {0x42}, point()}));
    s.rig.tick();
    ASSERT_EQ(s.rig.errorLog.entries.size(), 2u);
    EXPECT_NE(s.rig.errorLog.entries[0].find("Event Byte Expected; Actual Byte Received: 9\r\n"),
              std::string::npos);
    EXPECT_NE(s.rig.errorLog.entries[1].find("Sync Byte Expected; Actual Byte Received: 66\r\n"),
              std::string::npos);
    EXPECT_EQ(s.rig.errorLog.entries[1].find("Event Byte"), std::string::npos);
    EXPECT_EQ(s.rig.ui.beeps, 2);
}

TEST(DecoderErrors, APortErrorCarriesTheLastProtocolDetail) {
    Stream s;
    s.send(cat({{0x41}, point()}));
    s.rig.tick();
    s.rig.port.raise(1008);
    ASSERT_EQ(s.rig.errorLog.entries.size(), 2u);
    EXPECT_EQ(s.rig.errorLog.entries[1].rfind(std::string(kDate) + "ERROR - Receive buffer overflow.Sub PeekDataBlock; Sync", 0), 0u);
    EXPECT_TRUE(s.rig.decoder().DataSeen);
}

TEST_F(Decoder, AStreamFromMidBlockAlignsOnlyOnAUvBlockFollowedBySync) {
    rig.run().mnuStart_Click();
    rig.receive(cat({{0x12, 0x34, 'C', 0, 0}, ev(2), hold(1), cond('C', 1), point('V', 9, 8),
                     point('V', 7, 6)}));
    rig.tick();
    EXPECT_TRUE(rig.globals().InSync);
    EXPECT_TRUE(rig.errorLog.entries.empty());
    rig.tick();
    ASSERT_EQ(rig.live.points(), 2);
    EXPECT_EQ(rig.live.point(0).Y1, 9.f);
    EXPECT_EQ(rig.live.labels(), 0);  // the event and hold before alignment are gone
}

TEST_F(Decoder, FindingAlignmentOpensTheLink) {
    // A run with four marks, still running but no longer recorded, counted
    // while logging was off; then the link was lost.
    rig.align();
    rig.receive(cat({runStatus(1), point(), repeat(cat({ev(2), point()}), 4)}));
    rig.tick();
    rig.run().mnuStop_Click();
    rig.decoder().DisableDataCollection();
    ASSERT_TRUE(rig.run().Running());
    ASSERT_EQ(rig.run().EventCount(), 4);
    ASSERT_EQ(rig.run().LogEventCount(), 0);
    ASSERT_FALSE(rig.TimerSaveLog.isActive());
    ASSERT_FALSE(rig.TimerCheckComData.isActive());

    rig.globals().LogOn = true;
    rig.align();
    EXPECT_TRUE(rig.globals().InSync);
    EXPECT_FALSE(rig.run().Running());
    EXPECT_EQ(rig.controls.ledColor, 0xFF00);
    EXPECT_TRUE(rig.TimerCheckComData.isActive());
    EXPECT_TRUE(rig.TimerSaveLog.isActive());
    EXPECT_EQ(rig.run().LogEventCount(), 4);
    EXPECT_EQ(rig.controls.isEnabled(Item::mnuStart), 1);
    EXPECT_EQ(rig.controls.isEnabled(Item::cmdRecord), 1);
    EXPECT_EQ(rig.controls.isEnabled(Item::cmdStop), 1);

    rig.decoder().DisableDataCollection();
    rig.globals().LogOn = false;
    rig.TimerSaveLog.start();
    rig.receive(point());
    rig.tick();
    rig.tick();
    EXPECT_TRUE(rig.globals().InSync);
    EXPECT_FALSE(rig.TimerSaveLog.isActive());
}

// Alignment found again after a lost sync enables timers that already run:
// a backup that restarted at every resync would never come on a noisy line.
TEST_F(Decoder, RealignmentLeavesTheRunningBackupAndWatchdogIntervalsAlone) {
    rig.globals().LogOn = true;
    rig.align();
    const int64_t backupDue = rig.TimerSaveLog.dueMs();
    const int64_t watchdogDue = rig.TimerCheckComData.dueMs();
    rig.receive(cat({{0x41}, point(), point()}));
    rig.tick();  // lost sync
    ASSERT_FALSE(rig.globals().InSync);
    rig.tick();  // aligned again
    ASSERT_TRUE(rig.globals().InSync);
    EXPECT_EQ(rig.TimerSaveLog.dueMs(), backupDue);
    EXPECT_EQ(rig.TimerCheckComData.dueMs(), watchdogDue);
}

TEST_F(Decoder, StrayBytesReportFirstSyncNotFoundOnlyWhenNewBytesCame) {
    for (const int n : {3, 6}) {
        SCOPED_TRACE(n);
        RecorderRig r;
        r.receive(Bytes(static_cast<size_t>(n), 0x11));
        r.tick();
        ASSERT_EQ(r.errorLog.entries.size(), 1u);
        EXPECT_EQ(r.errorLog.entries[0], std::string(kDate) + "First Sync not found\r\n");
        EXPECT_EQ(r.ui.beeps, 1);
        EXPECT_EQ(r.decoder().comBuffer().ByteCount(), n);
        for (int i = 0; i < 10; ++i) r.tick();
        EXPECT_EQ(r.errorLog.entries.size(), 1u);
        r.receive({0x11});
        r.tick();
        EXPECT_EQ(r.errorLog.entries.size(), 2u);
    }
    // Two bytes are below what a tick looks at.
    rig.receive({0x11, 0x22});
    rig.tick();
    EXPECT_TRUE(rig.errorLog.entries.empty());
}

TEST_F(Decoder, NonFiniteValuesAreStoredAsReceived) {
    startRecording();
    rig.live.setXEnd(0.001f);  // so the axis follows on every tick
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    rig.receive(cat({uv('V', nan), cond('C', inf), uv('V', -inf), cond('C', nan), point()}));
    EXPECT_NO_THROW(rig.tick());
    ASSERT_EQ(rig.live.points(), 4);
    EXPECT_EQ(std::bit_cast<uint32_t>(rig.live.point(1).Y1), std::bit_cast<uint32_t>(nan));
    EXPECT_EQ(rig.live.point(1).Y2, inf);
    EXPECT_EQ(rig.live.point(2).Y1, -inf);
    EXPECT_TRUE(std::isnan(rig.live.point(2).Y2));
    EXPECT_TRUE(rig.run().Recording());
}

// More than the ring holds arriving between two ticks (a stall, or a line
// faster than the tick) is decoded as it comes in: nothing is lost or logged,
// whether the stream was aligned or still hunting.
TEST_F(Decoder, ABurstLargerThanTheRingIsDecodedWhole) {
    struct Case {
        const char* name;
        bool alignedBefore;
        Bytes lead;  // bytes before the points: a cut block while hunting
    };
    const Case cases[] = {
        {"aligned", true, {}},
        {"hunting", false, {0x01, kSync, 'C', 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecorderRig r;
        r.globals().LogOn = true;
        if (c.alignedBefore) {
            r.align();
            r.tick();  // the aligning point
        }
        const int before = r.log.points();
        Bytes burst = c.lead;
        const Bytes points = repeat(point(), 2500);  // 30 000 bytes
        burst.insert(burst.end(), points.begin(), points.end());
        r.receive(burst);
        EXPECT_LT(r.decoder().comBuffer().ByteCount(), ComBuffer::kSize);
        r.tick();
        EXPECT_TRUE(r.globals().InSync);
        EXPECT_EQ(r.log.points(), before + 2500);
        EXPECT_TRUE(r.errorLog.entries.empty()) << r.errorLog.entries.front();
    }
}

TEST_F(Decoder, AStreamFasterThanTheTickKeepsEveryPointAndTheChartFollows) {
    startRecording();
    rig.globals().LogOn = true;
    const int live = rig.live.points();
    const int drawsBefore = rig.live.drawNewPointsCalls;
    // 20 receives of 100 points between ticks: 24 000 bytes a tick.
    for (int t = 0; t < 30; ++t) {
        for (int i = 0; i < 20; ++i) rig.receive(repeat(point(), 100));
        rig.tick();
    }
    EXPECT_EQ(rig.live.points(), live + 60000);
    EXPECT_EQ(rig.log.points(), 60000);
    EXPECT_TRUE(rig.errorLog.entries.empty());
    // The points decoded while receiving are drawn then, not a tick later.
    EXPECT_GT(rig.live.drawNewPointsCalls - drawsBefore, 30);
}

// A watchdog trip while the decoder's message box is open: the busy flag
// the decoder holds survives it, and nothing re-enters the decoder.
TEST_F(Decoder, BusyFlagSurvivesATripInsideTheDecodersMessageBox) {
    startRecording();
    rig.live.failAddPoints = 7;
    bool busyAfterTrip = false;
    int inputsDuringBox = -1;
    int pointsDuringBox = -1;
    rig.ui.whileOpen = [&] {
        rig.decoder().DisableDataCollection();
        busyAfterTrip = rig.decoder().ComBusy;
        const int inputs = rig.port.inputCalls();
        rig.receive(point());
        inputsDuringBox = rig.port.inputCalls() - inputs;
        rig.decoder().ProcessComData();
        pointsDuringBox = rig.log.points();
    };
    rig.globals().LogOn = true;
    rig.receive(repeat(point(), 2));
    rig.tick();
    EXPECT_TRUE(busyAfterTrip);
    EXPECT_EQ(inputsDuringBox, 0);
    EXPECT_EQ(pointsDuringBox, 0);
    EXPECT_FALSE(rig.decoder().ComBusy);
    EXPECT_TRUE(rig.TimerProcess.isActive());
    ASSERT_FALSE(rig.ui.boxes.empty());
    EXPECT_FALSE(rig.run().Recording());
}

TEST_F(Decoder, PortEventsOtherThanReceiveGoToErrorReportingUnread) {
    rig.port.queue(point());
    rig.port.raise(1001);
    EXPECT_TRUE(rig.decoder().DataSeen);
    EXPECT_EQ(rig.port.inputCalls(), 0);
    ASSERT_EQ(rig.errorLog.entries.size(), 1u);
    EXPECT_EQ(rig.errorLog.entries[0], std::string(kDate) + "ERROR - Break signal received.\r\n");
}

// An hour at the instrument's pace, a point every 200 ms and one receive
// event each: every point reaches both charts within a tick of its arrival.
TEST_F(Decoder, KeepsUpWithAnHourAtTheInstrumentsPace) {
    rig.globals().LogOn = true;
    rig.run().mnuStart_Click();
    constexpr int kPoints = 5 * 3600;
    for (int i = 0; i < kPoints; ++i) {
        rig.receive(point('V', static_cast<float>(i), 1.f));
        rig.scheduler.advance(200);
        ASSERT_LE(rig.decoder().comBuffer().ByteCount(), 8 * 12);
    }
    rig.scheduler.advance(700);
    EXPECT_EQ(rig.live.points(), kPoints);
    EXPECT_EQ(rig.live.point(kPoints - 1).Y1, static_cast<float>(kPoints - 1));
    EXPECT_EQ(rig.log.points(), kPoints);
    EXPECT_EQ(rig.run().LogPointCount(), kPoints);
    EXPECT_TRUE(rig.errorLog.entries.empty());
    EXPECT_GT(rig.live.drawNewPointsCalls, 4000);
}

TEST_F(Decoder, AFailingErrorLogNeverStopsRecording) {
    startRecording();
    rig.errorLog.fail = true;
    rig.receive(cat({{0x41}, point(), {0x42}, ev(9), point(), point()}));
    for (int i = 0; i < 4; ++i) rig.tick();
    EXPECT_GT(rig.errorLog.attempts, 0);
    EXPECT_TRUE(rig.run().Recording());
    EXPECT_TRUE(rig.globals().InSync);
    rig.receive(repeat(point(), 5));
    rig.tick();
    EXPECT_GE(rig.live.points(), 1 + 5);
}

}  // namespace
}  // namespace tavrin::test
