// Snapping as a user sees it: a window of another program comes to rest near a screen edge
// or near another window, and Kuvella moves it onto the line (a right or bottom edge one
// pixel past it). Screen 1280 x 1024, level 8.
#include "TestSupport.h"

namespace e2e {
namespace {

class Snapping : public KuvellaTest {};

struct SnapCase {
  const char* what;
  RECT from;
  RECT to;  // equal to `from`: the window must stay
};

TEST_F(Snapping, ScreenEdges) {
  // Rows follow one another: each starts where the previous one did not end, so each is a
  // new resting place. None comes near the edges of Wine's tray window, (0, 0)-(166, 45).
  static const SnapCase kCases[] = {
      {"5 px right of the left edge", {5, 100, 405, 400}, {0, 100, 400, 400}},
      {"5 px beyond the left edge", {-5, 120, 395, 420}, {0, 120, 400, 420}},
      {"8 px from the left edge (level 8 included)", {8, 140, 408, 440}, {0, 140, 400, 440}},
      {"9 px from the left edge", {9, 160, 409, 460}, {9, 160, 409, 460}},
      {"flush with the right edge: one pixel past it", {880, 100, 1280, 400}, {881, 100, 1281, 400}},
      {"flush with the bottom edge", {100, 624, 500, 1024}, {100, 625, 500, 1025}},
      {"6 px below the top edge", {300, 6, 700, 306}, {300, 0, 700, 300}},
      {"both sides in range, left nearer", {3, 300, 1275, 500}, {0, 300, 1272, 500}},
      {"both sides in range, a tie: the left side", {4, 320, 1276, 520}, {0, 320, 1272, 520}},
      {"both sides in range, right nearer", {6, 340, 1278, 540}, {9, 340, 1281, 540}},
      {"both axes at once", {878, 620, 1278, 1020}, {881, 625, 1281, 1025}},
      {"nothing in range", {300, 300, 700, 700}, {300, 300, 700, 700}},
  };
  TestWindow probe(MakeRect(200, 200, 400, 400));
  Start();
  for (const SnapCase& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(RestsAt(probe, c.from, c.to));
  }

  // Where the rule put a window it leaves it: one move per resting place, none after.
  SCOPED_TRACE("after the move to one pixel past the right edge");
  ASSERT_TRUE(SnapsTo(probe, MakeRect(880, 200, 1280, 500), MakeRect(881, 200, 1281, 500)));
  EXPECT_TRUE(StaysAt(probe.hwnd(), MakeRect(881, 200, 1281, 500)));
}

TEST_F(Snapping, EdgesOfOtherWindows) {
  // Listed at start-up: the list is filled before the first tick.
  const RECT other = MakeRect(600, 500, 900, 800);
  TestWindow otherWindow(other, "e2e other");
  TestWindow probe(MakeRect(100, 900, 300, 1000));
  Start();
  static const SnapCase kCases[] = {
      {"right edge 5 px left of its left edge: one past it", {200, 550, 595, 750}, {206, 550, 601, 750}},
      {"left edge 5 px right of its right edge", {905, 600, 1105, 700}, {900, 600, 1100, 700}},
      {"top edge 6 px below its bottom edge", {650, 806, 850, 950}, {650, 800, 850, 944}},
      {"bottom edge 5 px above its top edge", {650, 300, 850, 495}, {650, 306, 850, 501}},
      {"left onto its left, bottom onto its top", {604, 200, 800, 505}, {600, 196, 796, 501}},
      {"tall window beside it: its edges are not offered", {200, 400, 595, 950}, {200, 400, 595, 950}},
  };
  for (const SnapCase& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(RestsAt(probe, c.from, c.to));
  }
  EXPECT_EQ(other, otherWindow.Rect()) << "the other window was moved";
}

TEST_F(Snapping, TiesGoToTheScreenEdgeThenToTheHigherWindow) {
  TestWindow q(MakeRect(10, 100, 300, 220), "e2e q");
  TestWindow b(MakeRect(705, 550, 900, 850), "e2e b");
  TestWindow a(MakeRect(500, 500, 695, 900), "e2e a");  // made last: above b in the Z order
  TestWindow probe(MakeRect(100, 900, 300, 1000));
  Start();
  static const SnapCase kCases[] = {
      {"screen edge and q's left edge both 5 px away", {5, 200, 405, 360}, {0, 200, 400, 360}},
      {"a's right edge and b's left edge both 5 px away", {700, 600, 1000, 800}, {695, 600, 995, 800}},
  };
  for (const SnapCase& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(SnapsTo(probe, c.from, c.to));
  }
}

TEST_F(Snapping, WindowOpenedLaterIsSeenAfterTheListIsRefreshed) {
  TestWindow probe(MakeRect(100, 900, 300, 1000));
  Kuvella& k = Start();
  const RECT late = MakeRect(600, 500, 900, 800);
  TestWindow lateWindow(late, "e2e late");
  // Resuming refreshes the list at once (the 5 s timer would too, in its own time).
  k.TraySend(WM_LBUTTONUP);
  k.TraySend(WM_LBUTTONUP);
  EXPECT_TRUE(SnapsTo(probe, MakeRect(200, 550, 595, 750), MakeRect(206, 550, 601, 750)));
  EXPECT_EQ(late, lateWindow.Rect());
}

}  // namespace
}  // namespace e2e
