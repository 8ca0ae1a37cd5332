#include "audio/audio.h"
#include "game/grid.h"
#include "game/jumper.h"
#include "support/game_fixture.h"

namespace ruvo {
namespace {

// A round under way with a hand-made grid: floor everywhere, nothing else.
class Jumper : public testing::GameFixture {
  protected:
    void SetUp() override
    {
        settings.values["Sound"] = "1";
        Play();
        ClearAbove();
    }
    void ClearAbove()
    {
        FillCells(R(), 0, 0, R().gridCols, 24, CellEmpty);
        FillCells(R(), 0, 24, R().gridCols, 1, CellFloor);
    }
    void Platform(int column) { FillCells(R(), column, 21, 1, 2, CellPlatform); }
    void Boss(std::int32_t col, std::int32_t hits)
    {
        R().bossCol = col;
        R().bossRow = 4;
        R().bossHits = hits;
        FillCells(R(), col, 4, 8, 8, CellBoss);
    }
    void Place(std::int32_t row, std::int32_t vy, std::int32_t armed)
    {
        R().jumperRow = row;
        R().jumperVy = vy;
        R().stompArmed = armed;
    }
    std::vector<int> Effects()
    {
        std::vector<int> out;
        for (const auto& call : wave.played)
            for (int i = 0; i < 6; ++i)
                if (call.image == R().waveData[static_cast<std::size_t>(i)])
                    out.push_back(i);
        return out;
    }
};

TEST_F(Jumper, BouncesOnAPlatformEveryThirtyFourTicks)
{
    Platform(12);
    R().jumperRow = 17;
    R().jumperVy = 1;
    const std::uint32_t score = R().score;
    std::vector<int> bounces;
    for (int tick = 0; tick < 120; ++tick) {
        MoveJumper(R());
        if (R().jumperRow == 16 && R().jumperVy == -1 && R().score != score + 50u * bounces.size())
            bounces.push_back(tick);
        EXPECT_GE(R().jumperRow, 0);
        EXPECT_LE(R().jumperRow, 17);
    }
    ASSERT_GE(bounces.size(), 3u);
    EXPECT_EQ(bounces[0], 0);
    EXPECT_EQ(bounces[1] - bounces[0], 34);
    EXPECT_EQ(bounces[2] - bounces[1], 34);
    EXPECT_EQ(Effects().front(), SoundBounce);
}

TEST_F(Jumper, TurnsAtTheCeilingArmed)
{
    Place(0, -1, 0);
    MoveJumper(R());
    EXPECT_EQ(R().jumperRow, 1);
    EXPECT_EQ(R().jumperVy, 1);
    EXPECT_EQ(R().stompArmed, 1);
}

TEST_F(Jumper, TouchesTheFloorAtRowTwentyFourAndGoesBackUpHurt)
{
    R().jumperRow = 17;
    R().jumperVy = 1;
    const std::int32_t lives = R().lives;
    std::vector<std::int32_t> rows;
    for (int i = 0; i < 5; ++i) {
        MoveJumper(R());
        rows.push_back(R().jumperRow);
    }
    EXPECT_EQ(rows, (std::vector<std::int32_t>{18, 19, 20, 19, 18}));
    EXPECT_EQ(R().lives, lives - 1);
    EXPECT_EQ(Effects(), (std::vector<int>{SoundMiss}));
}

TEST_F(Jumper, TheHurtPictureShowsForExactlyOneFrame)
{
    R().jumperRow = 20;
    R().jumperVy = 1;
    // The hurt picture is all white inside the shape; the normal one is not.
    const SpritePair& normal = R().jumperSprites[static_cast<std::size_t>(R().jumperLook)];
    int x = -1, y = -1;
    for (int yy = 0; yy < 32 && x < 0; ++yy)
        for (int xx = 0; xx < 32 && x < 0; ++xx)
            if (normal.mask->At(xx, yy) == kBlack && normal.image->At(xx, yy) != kWhite)
                x = xx, y = yy;
    ASSERT_GE(x, 0);
    MoveJumper(R());
    EXPECT_EQ(R().frameBitmap->At(96 + x, 8 * R().jumperRow + y), kWhite);
    MoveJumper(R());
    EXPECT_EQ(R().frameBitmap->At(96 + x, 8 * R().jumperRow + y), normal.image->At(x, y));
}

TEST_F(Jumper, TheFifthFloorTouchOfADefaultGameEndsIt)
{
    ASSERT_EQ(R().lives, 4);
    int touches = 0;
    for (int tick = 0; tick < 200 && R().state == StatePlay; ++tick) {
        const std::int32_t lives = R().lives;
        MoveJumper(R());
        if (R().lives != lives || R().state != StatePlay)
            ++touches;
    }
    EXPECT_EQ(touches, 5);
    EXPECT_EQ(R().state, kGameOverBannerWord);
    EXPECT_EQ(R().lives, 0);
    EXPECT_EQ(Effects(), (std::vector<int>{SoundMiss, SoundMiss, SoundMiss, SoundMiss, SoundGameOver}));
    EXPECT_EQ(R().jumperRow, 21); // it moves on down into the place it probed
}

TEST_F(Jumper, OnlyTheFootColumnHoldsIt)
{
    for (int c = 13; c <= 15; ++c)
        Platform(c);
    R().jumperRow = 17;
    R().jumperVy = 1;
    MoveJumper(R());
    EXPECT_EQ(R().jumperRow, 18);
    // A platform arriving under the foot while it moves on from row 18 still catches it.
    Platform(12);
    MoveJumper(R());
    EXPECT_EQ(R().jumperRow, 17);
    EXPECT_EQ(R().jumperVy, -1);
}

// A dive turns a rising jumper at row 16 or above, and arms the stomp unless
// it starts inside the boss.
TEST_F(Jumper, DiveOnlyFromRisingAtRowSixteenOrAboveAndArmedOutsideTheBoss)
{
    Place(17, -1, 0);
    Dive(R());
    EXPECT_EQ(R().jumperVy, -1);
    Place(16, -1, 0);
    Dive(R());
    EXPECT_EQ(R().jumperVy, 1);
    EXPECT_EQ(R().stompArmed, 1);
    R().stompArmed = 0;
    Dive(R()); // already falling
    EXPECT_EQ(R().stompArmed, 0);
    Boss(10, 5);
    Place(6, -1, 0);
    Dive(R());
    EXPECT_EQ(R().jumperVy, 1);
    EXPECT_EQ(R().stompArmed, 0);
}

TEST_F(Jumper, ARisingArmedJumperStompsWithATopCorner)
{
    Boss(15, 5);
    Place(13, -1, 1); // its top-right corner reaches row 11 next: the boss's bottom row
    const std::uint32_t score = R().score;
    MoveJumper(R());
    MoveJumper(R());
    EXPECT_EQ(R().bossHits, 4);
    EXPECT_EQ(R().score, score + 100);
    EXPECT_EQ(R().jumperVy, 1);
    EXPECT_EQ(R().stompArmed, 0);
    EXPECT_EQ(Effects(), (std::vector<int>{SoundStomp}));
    // Disarmed, it passes through the boss without scoring again.
    MoveJumper(R());
    EXPECT_EQ(R().bossHits, 4);
}

TEST_F(Jumper, TheLastStompStartsTheWipe)
{
    Boss(12, 1);
    R().scrollX = 16;
    Place(0, 1, 1);
    MoveJumper(R());
    EXPECT_EQ(R().bossHits, 0);
    EXPECT_EQ(R().state, StateDissolve);
    EXPECT_EQ(R().bannerTicks, 0);
    EXPECT_EQ(R().scrollX, 8);
}

TEST_F(Jumper, AStompAboveTheGridReadsEmptyCells)
{
    // A dive at row 0 followed by a stomp sends it to row -1; its next probe
    // looks at row -2, which must read as empty.
    Boss(12, 9);
    Place(0, 1, 1);
    MoveJumper(R());
    EXPECT_EQ(R().jumperRow, -1);
    EXPECT_EQ(R().bossHits, 8);
    MoveJumper(R());
    EXPECT_EQ(R().jumperRow, 1);
    EXPECT_EQ(R().jumperVy, 1);
}

} // namespace
} // namespace ruvo
