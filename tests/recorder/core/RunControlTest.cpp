#include "core/run/RunControl.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/RecorderRig.h"

namespace tavrin::test {
namespace {

using Item = MainWindowControls::Item;

constexpr float at(int pointIndex) { return static_cast<float>(pointIndex / 300.0); }

// The recorder aligned on the stream, idle, logging on; blocks go in one
// tick at a time.
struct Run : ::testing::Test {
    RecorderRig rig;

    Run() {
        rig.globals().LogOn = true;
        rig.align();
        rig.tick();
        // The aligning point went to the log chart only.
        rig.log.model.ClearData();
    }
    void feed(const Bytes& bytes) {
        rig.receive(bytes);
        rig.tick();
    }
    RunControl& run() { return rig.run(); }
};

TEST_F(Run, StatusBlocksDriveStartPauseHoldContinueAndEnd) {
    feed(cat({runStatus(1), point(), point(), ev(2), point()}));
    feed(cat({runStatus(2), point(), point(), ev(2), point()}));  // pause; a mark while paused
    feed(cat({runStatus(1), point()}));                          // continue from the pause: no label
    feed(cat({hold(1), point(), hold(2), point()}));
    feed(cat({runStatus(0), point()}));
    EXPECT_FALSE(run().Recording());
    EXPECT_TRUE(run().WaitingForMethod());
    EXPECT_TRUE(rig.TimerStopWaitForMethod.isActive());
    feed(cat({method("run 7"), point()}));

    EXPECT_EQ(rig.live.labelTexts(), "S1P2HCE");
    EXPECT_EQ(rig.live.points(), 8);
    const float liveAt[] = {at(0), at(2), at(3), at(3), at(5), at(6), at(7)};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(rig.live.label(i).XPos, liveAt[i]) << i;
    ASSERT_EQ(rig.live.methods(), 1);
    EXPECT_EQ(rig.live.method(0).XPos, at(7));
    EXPECT_FALSE(run().WaitingForMethod());
    EXPECT_FALSE(rig.TimerStopWaitForMethod.isActive());

    // The log chart is paused too, so it skips the two paused points; its
    // labels stand at the previous log point's time, counted since start
    // (the aligning point is log point 0).
    EXPECT_EQ(rig.log.labelTexts(), "S1P2HCE");
    EXPECT_EQ(rig.log.points(), 9);
    const float logAt[] = {at(0), at(2), at(3), at(4), at(5), at(6), at(7)};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(rig.log.label(i).XPos, logAt[i]) << i;
    ASSERT_EQ(rig.log.methods(), 1);
    EXPECT_EQ(rig.log.method(0).XPos, at(8));
    EXPECT_EQ(run().LogPointCount(), 1 + 9);  // counted since start, the aligning point too
}

TEST_F(Run, AMethodAfterTheWaitGoesToTheLogChartOnly) {
    feed(cat({runStatus(1), point(), runStatus(0), point()}));
    ASSERT_TRUE(run().WaitingForMethod());
    rig.scheduler.advance(15000);
    EXPECT_FALSE(run().WaitingForMethod());
    EXPECT_FALSE(rig.TimerStopWaitForMethod.isActive());
    feed(method("late"));
    EXPECT_EQ(rig.live.methods(), 0);
    EXPECT_EQ(rig.log.methods(), 1);
}

TEST_F(Run, LosingTheInstrumentStopsRecordingAndDropsAlignment) {
    feed(cat({runStatus(1), point(), ev(2)}));
    rig.TimerCheckComData.start();
    rig.decoder().DisableDataCollection();
    EXPECT_FALSE(run().Recording());
    EXPECT_EQ(run().PendingLabel(), RunControl::kNone);
    EXPECT_FALSE(rig.globals().InSync);
    EXPECT_FALSE(rig.decoder().ComBusy);
    EXPECT_EQ(rig.controls.ledColor, 0);
    EXPECT_FALSE(rig.TimerCheckComData.isActive());
    for (const Item item : {Item::mnuStart, Item::mnuStop, Item::cmdRecord, Item::cmdStop})
        EXPECT_EQ(rig.controls.isEnabled(item), 0) << static_cast<int>(item);
}

TEST_F(Run, LabelsHaveTheirColoursAndOffsets) {
    feed(cat({runStatus(1), point(), ev(2), point(), runStatus(2), point(), runStatus(1), hold(1), point()}));
    feed(cat({hold(2), point(), ev(8), point(), runStatus(0), point()}));
    ASSERT_EQ(rig.live.labelTexts(), "S1PHCME");
    const struct {
        int32_t color;
        int16_t offset;
    } expected[] = {{0xFFFF00, 50}, {0xFF00, 10},   {0xFFFF00, 30}, {0xFFFF00, 20},
                    {0xFFFF00, 20}, {0xFFFF00, 60}, {0xFFFF00, 40}};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(rig.live.label(i).Color, expected[i].color) << i;
        EXPECT_EQ(rig.live.label(i).Offset, expected[i].offset) << i;
    }
}

TEST_F(Run, EventMarksCountFromOneInEachRunOnBothCharts) {
    feed(cat({runStatus(1), point(), ev(2), point(), ev(2), point(), runStatus(0), point(), point()}));
    feed(cat({runStatus(1), point(), ev(2), point()}));
    EXPECT_EQ(rig.live.labelTexts(), "S12ES1");
    EXPECT_EQ(rig.log.labelTexts(), "S12ES1");
}

// Without status blocks the run follows the 'E' blocks and the UV letters:
// 'V' while running, 'U' while paused.
TEST_F(Run, WithoutStatusBlocksTheLettersAndEventsDriveTheRun) {
    feed(ev(4));
    EXPECT_FALSE(run().Recording());
    EXPECT_TRUE(run().StartArmed());
    feed(cat({point('V'), point('V')}));
    EXPECT_TRUE(run().Recording());
    EXPECT_TRUE(run().Running());
    feed(cat({point('U'), point('U'), point('U')}));
    EXPECT_TRUE(run().Paused());
    EXPECT_TRUE(run().LogPaused());
    feed(cat({point('V'), point('V')}));
    EXPECT_FALSE(run().Paused());
    EXPECT_FALSE(run().LogPaused());
    feed(cat({ev(3), point('V'), point('V')}));
    EXPECT_FALSE(run().Recording());
    EXPECT_EQ(rig.live.labelTexts(), "SPE");
    EXPECT_EQ(rig.log.labelTexts(), "SPE");
    // The paused 'U' points are missing from the live chart.
    EXPECT_EQ(rig.live.points(), 2 + 2 + 2 + 2);
}

TEST_F(Run, AnArmedStartIsTakenByAVBlockAndDroppedByAUBlock) {
    feed(cat({ev(4), point('U'), point('V')}));
    EXPECT_FALSE(run().Recording());
    EXPECT_FALSE(run().StartArmed());
    feed(cat({ev(4), point('V'), point('V')}));
    EXPECT_TRUE(run().Recording());
    EXPECT_EQ(rig.live.labelTexts(), "S");
}

TEST_F(Run, AnEndWhilePausedIsLabelledAndStopsRecording) {
    feed(cat({ev(4), ev(4), point('V'), point('U'), point('U'), point('U')}));
    ASSERT_TRUE(run().Paused());
    feed(cat({ev(3), point('U'), point('U')}));
    EXPECT_FALSE(run().Recording());
    EXPECT_EQ(rig.live.labelTexts(), "SPE");
    // The log chart is not left paused for ever by the end.
    EXPECT_EQ(rig.log.labelTexts(), "SPE");
    const int logged = rig.log.points();
    feed(cat({point('U'), point('U')}));
    EXPECT_EQ(rig.log.points(), logged + 2);
}

TEST_F(Run, RunEndWhilePausedLabelsTheEndAndKeepsRecording) {
    feed(cat({runStatus(1), point(), runStatus(2), point(), point()}));
    ASSERT_TRUE(run().Paused());
    feed(cat({runStatus(0), point()}));
    EXPECT_EQ(rig.live.labelTexts(), "SPE");
    EXPECT_FALSE(run().Paused());
    EXPECT_FALSE(run().Running());
    EXPECT_TRUE(run().Recording());
}

TEST_F(Run, PenBlocksStartAndStopRecording) {
    feed(pen(1));
    EXPECT_TRUE(run().Recording());
    EXPECT_TRUE(rig.globals().StatusBlocksSeen);
    EXPECT_EQ(rig.controls.pressed, Item::cmdRecord);
    feed(cat({point(), point()}));
    EXPECT_EQ(rig.live.points(), 2);
    EXPECT_EQ(rig.live.labels(), 0);
    feed(pen(0));
    EXPECT_FALSE(run().Recording());
    EXPECT_EQ(rig.controls.pressed, Item::cmdStop);
}

// A block that queues a label after a queued end moves the end one point
// later instead of losing it (and the stop with it).
TEST_F(Run, ALaterEventNeverOverwritesAQueuedEnd) {
    const Bytes later[] = {ev(2), ev(8), hold(1), hold(2), runStatus(3), runStatus(2)};
    for (const Bytes& block : later) {
        SCOPED_TRACE(static_cast<int>(block[1]));
        RecorderRig r;
        r.align();
        r.run().mnuStart_Click();
        r.receive(cat({runStatus(1), point(), runStatus(0), block, point(), point(), point()}));
        r.tick();
        r.tick();
        EXPECT_FALSE(r.run().Recording());
        ASSERT_GE(r.live.labels(), 2);
        EXPECT_EQ(r.live.label(r.live.labels() - 1).Label, "E");
    }
}

TEST_F(Run, AStartFromIdleDropsAStaleQueuedEnd) {
    feed(cat({runStatus(1), point(), ev(3), pen(0)}));  // stopped before the end was labelled
    feed(cat({runStatus(1), point(), point(), point()}));
    EXPECT_TRUE(run().Recording());
    EXPECT_EQ(rig.live.labelTexts(), "SS");
}

// A protocol error drops alignment while recording; the hunt finds it again
// on the point that follows.
TEST_F(Run, ARunGoesOnAcrossARealignment) {
    const auto realign = [this] {
        feed(cat({{0x41}, point()}));
        ASSERT_FALSE(rig.globals().InSync);
        rig.tick();
        ASSERT_TRUE(rig.globals().InSync);
    };
    feed(cat({runStatus(1), point(), ev(2), point()}));
    realign();
    feed(cat({runStatus(1), point(), ev(2), point(), runStatus(2), point(), point()}));
    ASSERT_TRUE(run().Paused());
    realign();
    feed(cat({runStatus(1), point(), ev(2), point(), runStatus(2), point()}));
    EXPECT_TRUE(run().Paused());
    feed(cat({runStatus(1), point(), runStatus(0), point(), point()}));
    EXPECT_FALSE(run().Recording());
    EXPECT_EQ(rig.live.labelTexts(), "S1C2P3PE");
    EXPECT_EQ(rig.log.labelTexts(), "S1C2P3PE");

    // After the link was lost the next run starts afresh.
    feed(cat({runStatus(1), point(), ev(2), point()}));
    rig.decoder().DisableDataCollection();
    feed(point());
    ASSERT_TRUE(rig.globals().InSync);
    feed(cat({runStatus(1), point(), ev(2), point()}));
    EXPECT_EQ(rig.live.labelTexts(), "S1C2P3PES1S1");
}

// However recording stops while paused, the pause goes with it: nothing
// more lands on the live chart, and the next recording takes points.
TEST(RunStop, AStopWhilePausedEndsThePause) {
    const struct {
        const char* name;
        void (*stop)(RecorderRig&);
    } stops[] = {
        {"pen off", [](RecorderRig& r) { r.receive(pen(0)), r.tick(); }},
        {"Stop", [](RecorderRig& r) { r.run().mnuStop_Click(); }},
        {"link lost",
         [](RecorderRig& r) {
             r.decoder().DisableDataCollection();
             r.receive(point());
             r.tick();
         }},
    };
    for (const auto& c : stops) {
        SCOPED_TRACE(c.name);
        RecorderRig r;
        r.align();
        r.receive(cat({runStatus(1), point(), runStatus(2), point(), point()}));
        r.tick();
        ASSERT_TRUE(r.run().Paused());
        c.stop(r);
        EXPECT_FALSE(r.run().Recording());
        EXPECT_FALSE(r.run().Paused());
        r.receive(cat({ev(2), point(), ev(2), point(), method("after")}));
        r.tick();
        EXPECT_EQ(r.live.labelTexts(), "SP");
        EXPECT_EQ(r.live.methods(), 0);

        const int points = r.live.points();
        r.run().mnuStart_Click();
        r.receive(cat({ev(2), point()}));
        r.tick();
        EXPECT_EQ(r.live.points(), points + 1);
        EXPECT_EQ(r.live.labelTexts(), "SP1");
    }
}

// Stop empties the live chart's queue, so nothing queued in one recording
// acts on the next one; the log chart's queue follows the log's own run.
TEST(RunStop, StopDropsTheLabelsQueuedForTheLiveChart) {
    const struct {
        const char* name;
        Bytes before;  // the blocks before the user's Stop
        const char* log;
    } cases[] = {
        {"queued end", cat({runStatus(1), point(), runStatus(0)}), "SE"},
        {"queued end after a mark", cat({runStatus(1), point(), runStatus(0), ev(2)}), "S1E"},
        {"queued mark", cat({runStatus(1), point(), ev(2)}), "S1"},
        {"queued end of an unlabelled run", cat({runStatus(1), point(), ev(3)}), "SE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecorderRig r;
        r.globals().LogOn = true;
        r.align();
        r.receive(c.before);
        r.tick();
        r.run().mnuStop_Click();
        EXPECT_EQ(r.run().PendingLabel(), RunControl::kNone);
        r.run().mnuStart_Click();
        r.receive(cat({point(), point(), point()}));
        r.tick();
        EXPECT_TRUE(r.run().Recording());
        EXPECT_EQ(r.live.labelTexts(), "S");
        EXPECT_EQ(r.log.labelTexts(), c.log);
    }

    // A start dropped before its first point still tells that the run has
    // begun: its continue after a pause does not start recording again.
    RecorderRig r;
    r.align();
    r.receive(runStatus(1));
    r.tick();
    r.run().mnuStop_Click();
    r.receive(cat({point(), runStatus(2), point(), runStatus(1), point()}));
    r.tick();
    EXPECT_FALSE(r.run().Recording());
    EXPECT_EQ(r.live.points(), 0);
    EXPECT_EQ(r.live.labels(), 0);
}

// A run that ends while logging is off, or whose end Log ON drops, takes
// the log's pause with it: every point after Log ON is logged.
TEST(RunLog, AnEndWhileLoggingIsOffEndsTheLogsPause) {
    const struct {
        const char* name;
        Bytes end;
        int pointsBeforeLogOn;
    } cases[] = {
        {"run end, points", runStatus(0), 2},
        {"run end, no point", runStatus(0), 0},
        {"end event, points", ev(3), 2},
        {"end event, no point", ev(3), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecorderRig r;
        r.globals().LogOn = true;
        r.align();
        r.receive(cat({runStatus(1), point(), runStatus(2), point(), point()}));
        r.tick();
        ASSERT_TRUE(r.run().LogPaused());
        r.run().mnuLogOff_Click();
        r.receive(cat({c.end, repeat(point(), c.pointsBeforeLogOn)}));
        r.tick();
        r.run().mnuLogOn_Click(true);
        const int logged = r.log.points();
        r.receive(repeat(point(), 20));
        r.tick();
        EXPECT_EQ(r.log.points(), logged + 20);
        EXPECT_FALSE(r.run().LogPaused());
        EXPECT_FALSE(r.run().LogRunning());
        // The next run is a run of its own on the log chart.
        r.receive(cat({runStatus(1), point()}));
        r.tick();
        EXPECT_EQ(r.log.labelTexts(), "SPS");
    }
}

// Record is off while recording, across realignments too, and back at Stop.
TEST_F(Run, RecordIsDisabledWhileRecordingAcrossARealignment) {
    const auto recordEnabled = [this](int expected) {
        EXPECT_EQ(rig.controls.isEnabled(Item::mnuStart), expected);
        EXPECT_EQ(rig.controls.isEnabled(Item::cmdRecord), expected);
    };
    feed(cat({runStatus(1), point(), ev(2), point()}));
    ASSERT_TRUE(run().Recording());
    recordEnabled(0);
    feed(cat({{0x41}, point()}));
    ASSERT_FALSE(rig.globals().InSync);
    rig.tick();
    ASSERT_TRUE(rig.globals().InSync);
    EXPECT_TRUE(run().Recording());
    recordEnabled(0);
    EXPECT_EQ(rig.controls.isEnabled(Item::mnuStop), 1);
    EXPECT_EQ(rig.controls.isEnabled(Item::cmdStop), 1);
    feed(cat({ev(2), point()}));
    EXPECT_EQ(rig.live.labelTexts(), "S12");
    run().mnuStop_Click();
    recordEnabled(1);
    // Stopped, a realignment enables Record as before.
    feed(cat({{0x41}, point()}));
    rig.tick();
    ASSERT_TRUE(rig.globals().InSync);
    recordEnabled(1);
}

// A recording that begins before its first point (its start queued) has
// Record off from the block that begins it, not only once "S" lands. The
// first cases are the sequences the decoder fuzz found.
TEST(RunRecord, RecordIsOffFromTheBlockThatBeginsARecording) {
    struct Case {
        const char* name;
        Bytes blocks;  // after alignment, before any point of the run
    };
    const Case cases[] = {
        {"armed start, E4 E4", cat({ev(4), ev(4)})},
        {"armed start taken by a V block", cat({ev(4), uv('V', 0.f)})},
        {"R1 from idle", runStatus(1)},
        {"R1 from idle after U blocks", cat({uv('U', 0.f), uv('U', 0.f), uv('V', 0.f), runStatus(1)})},
        {"R1 after a bad pen byte", cat({pen(9), runStatus(1)})},
        {"R1 after a pause while idle", cat({runStatus(2), uv('V', 0.f), runStatus(1)})},
        {"R1 after an end, F blocks", cat({runStatus(0), cond('D', 0.f), fblock(), fblock(), uv('V', 0.f), runStatus(1)})},
        {"E4 E4 E4 E4, then a bad event byte", cat({ev(4), ev(4), ev(4), ev(4), ev(9)})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecorderRig r;
        r.globals().LogOn = true;
        r.align();
        r.tick();
        r.receive(c.blocks);
        r.tick();
        ASSERT_TRUE(r.run().Recording());
        EXPECT_EQ(r.controls.isEnabled(Item::mnuStart), 0);
        EXPECT_EQ(r.controls.isEnabled(Item::cmdRecord), 0);
        // A bad byte among the blocks realigns first.
        for (int i = 0; i < 3; ++i) {
            r.receive(repeat(point(), 2));
            r.tick();
        }
        EXPECT_TRUE(r.run().Running());
        EXPECT_EQ(r.controls.isEnabled(Item::mnuStart), 0);
        EXPECT_EQ(r.controls.isEnabled(Item::cmdRecord), 0);
        EXPECT_EQ(r.live.labelTexts().substr(0, 1), "S");
    }
}

// A label that comes between a queued start and its first point lands with
// the point after the start, on both charts, and the run records with
// Running on, so that its end is followed.
TEST(RunRecord, ALabelBeforeTheFirstPointWaitsForTheStart) {
    struct Case {
        const char* name;
        Bytes label;
        const char* labels;  // with the first two points
    };
    const Case cases[] = {
        {"event mark", ev(2), "S1"}, {"mark", ev(8), "SM"},         {"hold", hold(1), "SH"},
        {"continue", hold(2), "SC"}, {"hold status", runStatus(3), "SH"}, {"pause", runStatus(2), "SP"},
    };
    for (const bool armed : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (armed ? ", armed start" : ", R1"));
            RecorderRig r;
            r.globals().LogOn = true;
            r.align();
            r.tick();
            // Status blocks from the start, so that the letters drive nothing.
            r.receive(cat({fblock(), armed ? cat({ev(4), ev(4)}) : runStatus(1), c.label, point(), point()}));
            r.tick();
            EXPECT_TRUE(r.run().Running());
            EXPECT_EQ(r.live.labelTexts(), c.labels);
            EXPECT_EQ(r.log.labelTexts(), c.labels);
            r.receive(cat({ev(3), repeat(point(), 3)}));
            r.tick();
            EXPECT_EQ(r.live.labelTexts(), std::string(c.labels) + "E");
            EXPECT_FALSE(r.run().Recording());
            EXPECT_EQ(r.controls.isEnabled(Item::mnuStart), 1);
        }
    }
}

TEST_F(Run, WithLoggingOffTheLogFlagsStillFollowTheRun) {
    rig.globals().LogOn = false;
    const int32_t counted = run().LogPointCount();
    feed(cat({runStatus(1), point(), point()}));
    EXPECT_TRUE(run().LogRunning());
    EXPECT_EQ(rig.log.points(), 0);
    EXPECT_EQ(run().LogPointCount(), counted);
    feed(cat({runStatus(0), point()}));
    EXPECT_FALSE(run().LogRunning());
    EXPECT_EQ(rig.log.labels(), 0);
}

TEST_F(Run, OutOfMemoryShowsItsBoxOncePerFailureAndStopsRecordingAndLogging) {
    feed(cat({runStatus(1), point()}));
    rig.live.failAddPoints = 7;
    rig.TimerSaveLog.start();
    feed(cat({ev(2), point()}));
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].text, "Out of memory, Recording and Logging stopped.  Please exit Tavrin.");
    EXPECT_FALSE(run().Recording());
    EXPECT_FALSE(rig.globals().LogOn);
    EXPECT_FALSE(rig.TimerSaveLog.isActive());
    EXPECT_EQ(rig.controls.pressed, Item::cmdLogOff);
    // The failing step still placed its label.
    EXPECT_EQ(rig.live.labelTexts(), "S1");
    feed(point());
    EXPECT_EQ(rig.ui.boxes.size(), 1u);
}

TEST_F(Run, AFailingLabelOrMethodIsOutOfMemoryToo) {
    feed(cat({runStatus(1), point()}));
    rig.log.failAddMethod = 7;
    feed(method("x"));
    EXPECT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.live.methods(), 1);
    rig.globals().LogOn = true;
    run().mnuStart_Click();
    rig.live.failAddLabel = 7;
    feed(cat({ev(2), point()}));
    EXPECT_EQ(rig.ui.boxes.size(), 2u);
}

TEST(RunAxis, TheLiveAxisFollowsTheRun) {
    RecorderRig rig;
    rig.run().mnuStart_Click();
    for (int i = 0; i < 3001; ++i) rig.run().AddLivePoint();  // 10 minutes
    rig.run().DrawNewLivePoints();
    EXPECT_EQ(rig.live.XEnd(), 10.f);
    EXPECT_EQ(rig.live.redraws, 0);
    EXPECT_EQ(rig.live.drawNewPointsCalls, 1);

    rig.run().AddLivePoint();  // past the axis, in Full View
    rig.run().DrawNewLivePoints();
    const double duration = 3001 / 300.0;
    EXPECT_EQ(rig.live.XEnd(), static_cast<float>(static_cast<double>(static_cast<float>(duration)) * 1.25));
    EXPECT_EQ(rig.live.redraws, 1);

    rig.rec->axisView.WholeRunAxis[0] = false;
    for (int i = 0; i < 3000; ++i) rig.run().AddLivePoint();
    rig.run().DrawNewLivePoints();
    const float d = rig.live.GetDuration();
    EXPECT_FLOAT_EQ(rig.live.XEnd(), d + 1);
    EXPECT_FLOAT_EQ(rig.live.XStart(), d - 9);
    EXPECT_EQ(rig.rec->axisView.ChartView[0].XStart, rig.live.XStart());
}

// A run that ends within a decoder tick: the tick's points up to the end,
// and the end mark, are on the screen when the tick is over, on an axis that
// followed them.
TEST(RunEnd, TheTickThatEndsARunDrawsItsLastPoints) {
    struct Case {
        const char* name;
        Bytes before;  // ticks before the ending one, if any
        Bytes ending;
        float axisEnd;  // the time axis before the ending tick
        const char* labels;
    };
    const Case cases[] = {
        {"status end", cat({runStatus(1), repeat(point(), 10)}),
         cat({repeat(point(), 20), runStatus(0), repeat(point(), 5)}), 10, "SE"},
        {"begun and ended in one tick", {}, cat({runStatus(1), repeat(point(), 10), runStatus(0), repeat(point(), 5)}),
         10, "SE"},
        {"event end", cat({runStatus(1), repeat(point(), 10)}), cat({repeat(point(), 20), ev(3), repeat(point(), 5)}),
         10, "SE"},
        {"pen off", cat({pen(1), repeat(point(), 10)}), cat({repeat(point(), 20), pen(0), repeat(point(), 5)}), 10,
         ""},
        {"past the axis", cat({runStatus(1), repeat(point(), 10)}),
         cat({repeat(point(), 40), runStatus(0), repeat(point(), 5)}), 0.1f, "SE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecorderRig rig;
        rig.align();
        rig.tick();
        if (!c.before.empty()) {
            rig.receive(c.before);
            rig.tick();
            ASSERT_TRUE(rig.run().Recording());
        }
        rig.live.setXEnd(c.axisEnd);
        rig.receive(c.ending);
        rig.tick();
        ASSERT_FALSE(rig.run().Recording());

        const FakeChart& live = rig.live;
        EXPECT_EQ(live.labelTexts(), c.labels);
        EXPECT_EQ(live.screen.points, live.points());
        EXPECT_EQ(live.screen.labels, live.labels());
        EXPECT_GE(live.screen.xEnd, live.GetDuration());
        if (live.labels() > 0) EXPECT_EQ(live.label(live.labels() - 1).XPos, live.GetDuration());

        // Once drawn, a tick without live points draws nothing more.
        const int draws = live.drawNewPointsCalls;
        rig.receive(repeat(point(), 5));
        rig.tick();
        EXPECT_EQ(live.drawNewPointsCalls, draws);
    }
}

TEST(RunCommands, RecordAndStopSetTheWindowsItems) {
    RecorderRig rig;
    rig.globals().Saved[0] = true;
    rig.run().mnuStart_Click();
    EXPECT_FALSE(rig.globals().Saved[0]);
    for (const Item item : {Item::mnuSaveData, Item::mnuSaveSlectedData, Item::mnuSaveDataAs,
                            Item::mnuClear, Item::mnuPrint, Item::mnuPrintSetup, Item::mnuExport,
                            Item::cmdPrint, Item::cmdSave, Item::cmdClear, Item::mnuComPort,
                            Item::mnuStart})
        EXPECT_EQ(rig.controls.isEnabled(item), 0) << static_cast<int>(item);
    EXPECT_EQ(rig.controls.isEnabled(Item::mnuStop), 1);
    EXPECT_EQ(rig.controls.focused, 0);

    // 300 points: 0.997 minutes against a 10-minute window.
    for (int i = 0; i < 300; ++i) rig.run().AddLivePoint();
    rig.rec->axisView.WholeRunAxis[0] = false;
    rig.run().mnuStop_Click();
    EXPECT_EQ(rig.controls.scrollMax, -9);
    EXPECT_EQ(rig.controls.scrollValue, -9);
    EXPECT_TRUE(rig.controls.scrollVisible);
    EXPECT_EQ(rig.controls.isEnabled(Item::mnuSaveData), 1);
    EXPECT_EQ(rig.controls.isEnabled(Item::mnuComPort), 1);
    EXPECT_EQ(rig.controls.isEnabled(Item::mnuStart), 1);
    EXPECT_EQ(rig.controls.isEnabled(Item::mnuStop), 0);
}

}  // namespace
}  // namespace tavrin::test
