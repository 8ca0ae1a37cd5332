// Tests of the jumper: bounces, dives, scores and lives.
// SPDX-License-Identifier: MIT
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
        Play();
        FillCells(G(), 0, 0, G().gridCols, 24, CellEmpty);
        FillCells(G(), 0, 24, G().gridCols, 1, CellFloor);
    }
    void Platform(int column) { FillCells(G(), column, 21, 1, 2, CellPlatform); }
    void Boss(std::int32_t col, std::int32_t hits)
    {
        G().bossCol = col;
        G().bossRow = 4;
        G().bossHits = hits;
        FillCells(G(), col, 4, 8, 8, CellBoss);
    }
    void Place(std::int32_t row, std::int32_t vy, std::int32_t armed)
    {
        G().jumperRow = row;
        G().jumperVy = vy;
        G().stompArmed = armed;
    }
};

// Only the foot column holds it; at the top it turns at the ceiling, armed, and
// a stomp there takes it above the grid, where the cells read as empty; a dive
// turns a rising jumper at row 16 or above, and arms the stomp unless it
// starts inside the boss. One round, each step placing the jumper anew.
TEST_F(Jumper, FootColumnCeilingAndDive)
{
    for (int c = 13; c <= 15; ++c)
        Platform(c);
    Place(17, 1, G().stompArmed);
    MoveJumper(G());
    EXPECT_EQ(G().jumperRow, 18);
    // A platform arriving under the foot while it moves on from row 18 still catches it.
    Platform(12);
    MoveJumper(G());
    EXPECT_EQ(G().jumperRow, 17);
    EXPECT_EQ(G().jumperVy, -1);
    Place(0, -1, 0);
    MoveJumper(G());
    EXPECT_EQ(G().jumperRow, 1);
    EXPECT_EQ(G().jumperVy, 1);
    EXPECT_EQ(G().stompArmed, 1);
    // A dive at row 0 followed by a stomp sends it to row -1; its next probe
    // looks at row -2, which must read as empty.
    Boss(12, 9);
    Place(0, 1, 1);
    MoveJumper(G());
    EXPECT_EQ(G().jumperRow, -1);
    EXPECT_EQ(G().bossHits, 8);
    MoveJumper(G());
    EXPECT_EQ(G().jumperRow, 1);
    EXPECT_EQ(G().jumperVy, 1);
    Place(17, -1, 0);
    Dive(G());
    EXPECT_EQ(G().jumperVy, -1);
    Place(16, -1, 0);
    Dive(G());
    EXPECT_EQ(G().jumperVy, 1);
    EXPECT_EQ(G().stompArmed, 1);
    G().stompArmed = 0;
    Dive(G()); // already falling
    EXPECT_EQ(G().stompArmed, 0);
    Boss(10, 5);
    Place(6, -1, 0);
    Dive(G());
    EXPECT_EQ(G().jumperVy, 1);
    EXPECT_EQ(G().stompArmed, 0);
}

} // namespace
} // namespace ruvo
