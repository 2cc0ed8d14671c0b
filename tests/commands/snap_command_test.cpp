// The snap command: edges chosen by the picked points, the hinge between the
// two screens, and what it refuses; through the driver on the walls of a room.
#include "../host/featurestore/StoreChecks.h"
#include "CommandFixture.h"
#include "KORVrcSnapCmd.h"

#include <cstdio>
#include <cstring>
#include <map>

namespace {
using Triple = std::array<double, 3>;

struct Screen {
  Triple ul, ll, lr;
};

// The room's walls facing inward: the front at x = 1500, the left wall at
// y = 1500, the floor at z = -1500.
const Screen kFront{{1500, 1500, 1500}, {1500, 1500, -1500}, {1500, -1500, -1500}};
const Screen kLeft{{-1500, 1500, 1500}, {-1500, 1500, -1500}, {1500, 1500, -1500}};
const Screen kFloor{{1500, 1500, -1500}, {-1500, 1500, -1500}, {-1500, -1500, -1500}};

class SnapCommandTest : public DriverTest {
protected:
  KORIVrcScreenView_var Make(const char* iName, const Screen& iScreen) {
    return build.Screen(iName, iScreen.ul, iScreen.ll, iScreen.lr);
  }
  static Screen Read(KORIVrcScreenView* iView) {
    const std::array<double, 9> c = ConfigBuilder::CornersOf(iView);
    return {{c[0], c[1], c[2]}, {c[3], c[4], c[5]}, {c[6], c[7], c[8]}};
  }
  // A point on the screen near the middle of edge iEdge (1 top, 2 left,
  // 3 bottom, 4 right): a twentieth of the way in from it.
  static Triple NearEdge(const Screen& iScreen, int iEdge) {
    Triple point{};
    for (int axis = 0; axis < 3; ++axis) {
      const double ll = iScreen.ll[axis], lr = iScreen.lr[axis], ul = iScreen.ul[axis];
      const double across = lr - ll, up = ul - ll;
      const double shares[5][2] = {{}, {0.5, 0.95}, {0.05, 0.5}, {0.5, 0.05}, {0.95, 0.5}};
      point[axis] = ll + shares[iEdge][0] * across + shares[iEdge][1] * up;
    }
    return point;
  }
  static KORString PickLine(const char* iView, const Triple& iPoint) {
    char line[160];
    std::snprintf(line, sizeof line, "pick view:%s at %.9g %.9g %.9g", iView, iPoint[0], iPoint[1],
                  iPoint[2]);
    return line;
  }
  static void ExpectScreen(const Screen& iActual, const Screen& iExpected) {
    // Corners are computed in single precision.
    constexpr double tolerance = 0.01;
    for (int axis = 0; axis < 3; ++axis) {
      EXPECT_NEAR(iActual.ul[axis], iExpected.ul[axis], tolerance) << "upper left " << axis;
      EXPECT_NEAR(iActual.ll[axis], iExpected.ll[axis], tolerance) << "lower left " << axis;
      EXPECT_NEAR(iActual.lr[axis], iExpected.lr[axis], tolerance) << "lower right " << axis;
    }
  }
};

TEST(SnapEdges, ThePickedPointChoosesTheNearestEdge) {
  const KORVrcPointf ll(0, 0, 0), lr(1000, 0, 0), ur(1000, 1000, 0), ul(0, 1000, 0);
  struct Case {
    KORVrcPointf point;
    int edge;
  };
  const Case cases[] = {
      {{500, 980, 0}, 1}, {{20, 500, 0}, 2},   {{500, 20, 0}, 3}, {{980, 500, 0}, 4},
      {{900, 40, 0}, 3},  {{960, 100, 0}, 4},  {{500, 20, 300}, 3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(KORVrcSnapCmd::IndexMax(&c.point, &ul, &ur, &ll, &lr), c.edge)
        << c.point.transpose();
  EXPECT_EQ(KORVrcSnapCmd::IndexMax(nullptr, &ul, &ur, &ll, &lr), 0);
  EXPECT_EQ(KORVrcSnapCmd::IndexMax(&ll, &ll, &ll, &ll, &ll), 0) << "no angle is positive";
}

// A wall moved away is snapped back onto its neighbour: the picked edges
// join and the hinge puts the wall where the room had it.
TEST_F(SnapCommandTest, SnappingAWallOntoItsNeighbourRebuildsTheRoom) {
  struct Case {
    const char* what;
    const char* first;
    int firstEdge;
    const char* second;
    int secondEdge;
    // How the first screen was moved away: turned in its own plane, since
    // the hinge comes from the screens' normals.
    const char* drag;
    Screen expected;
  };
  const Case cases[] = {
      {"left wall's right edge on the front's left edge", "Left", 4, "Front", 2,
       "drag view:Left by 300 -200 100 0 25 0", kLeft},
      {"floor's far edge on the front's bottom edge", "Floor", 1, "Front", 3,
       "drag view:Floor by -400 0 900 35 0 0", kFloor},
      {"front's left edge on the left wall's right edge", "Front", 2, "Left", 4,
       "drag view:Front by 0 0 -50 0 0 -70", kFront},
  };
  int round = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Each round its own room, named apart from the rooms before.
    const KORString suffix = std::to_string(++round);
    std::map<KORString, KORIVrcScreenView_var> room;
    for (const auto& [name, corners] : {std::pair{"Front", kFront}, std::pair{"Left", kLeft},
                                        std::pair{"Floor", kFloor}})
      room[name] = Make((name + suffix).c_str(), corners);
    const KORString first = c.first + suffix, second = c.second + suffix;
    KORString drag = c.drag;
    drag.replace(drag.find(c.first), std::strlen(c.first), first);
    Perform({drag});
    const Screen secondBefore = Read(room[c.second]);
    Perform({"start btnSnap", PickLine(first.c_str(), NearEdge(Read(room[c.first]), c.firstEdge)),
             PickLine(second.c_str(), NearEdge(secondBefore, c.secondEdge))});
    EXPECT_FALSE(DialogOpen()) << "the command ends once it snapped";
    ExpectScreen(Read(room[c.first]), c.expected);
    ExpectScreen(Read(room[c.second]), secondBefore);
  }
}

TEST_F(SnapCommandTest, ScreensFacingTheSameWayOpenToPiMinusTheirAngle) {
  // The second lies flat facing up; the first faces up tilted by 30 degrees,
  // so they are joined at 150: the first rises at 30 beyond the right edge.
  Make("Flat", {{0, 1000, 0}, {0, 0, 0}, {1000, 0, 0}});
  KORIVrcScreenView_var tilted = Make("Tilted", {{0, 2500, 0}, {0, 2000, 0}, {866.0254, 2000, 500}});
  Perform({"start btnSnap", PickLine("Tilted", NearEdge(Read(tilted), 2)),
           PickLine("Flat", {990, 500, 0})});
  ExpectScreen(Read(tilted), {{1000, 500, 0}, {1000, 0, 0}, {1866.0254, 0, 500}});
}

TEST_F(SnapCommandTest, RefusedPicksLeaveTheCommandWaiting) {
  KORIVrcScreenView_var front = Make("Front", kFront);
  KORIVrcScreenView_var left = Make("Left", kLeft);
  build.Camera("Cam", 1.0, 0, 0.8, 0);
  Perform({"drag view:Left by 0 0 200"});
  const Screen moved = Read(left);
  Perform({"start btnSnap"});
  // A pick in the tree has no point under the cursor.
  Perform({"pick view:Left", PickLine("Left", NearEdge(moved, 4)), "pick view:Front",
           PickLine("Left", NearEdge(moved, 3))});
  EXPECT_NE(Refused("pick view:Cam at 0 0 0").find("no running command takes a pick"),
            KORString::npos);
  ASSERT_TRUE(DialogOpen()) << "the command must still wait for a second screen";
  ExpectScreen(Read(left), moved);
  ExpectScreen(Read(front), kFront);
  Perform({PickLine("Front", NearEdge(kFront, 2))});
  EXPECT_FALSE(DialogOpen());
  ExpectScreen(Read(left), kLeft);
}

TEST_F(SnapCommandTest, ASnapIsOneUndoStepAndLeavingEarlyChangesNothing) {
  Make("Front", kFront);
  KORIVrcScreenView_var left = Make("Left", kLeft);
  Perform({"drag view:Left by 0 0 200"});
  const std::string before = SavedBytes(*document);
  const Screen moved = Read(left);
  Perform({"start btnSnap", PickLine("Left", NearEdge(moved, 4)), "start btnSnap"});
  EXPECT_EQ(SavedBytes(*document), before) << "a command left after one pick changed the document";
  Perform({PickLine("Left", NearEdge(moved, 4)), PickLine("Front", NearEdge(kFront, 2))});
  ExpectScreen(Read(left), kLeft);
  Perform({"undo"});
  EXPECT_EQ(SavedBytes(*document), before);
}
} // namespace
