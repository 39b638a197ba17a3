// Conditions a resident program meets on a real desktop: long paths, windows that vanish,
// a crowded desktop.
#include "TestSupport.h"

#include <memory>
#include <vector>

namespace e2e {
namespace {

class Robustness : public KuvellaTest {};

TEST_F(Robustness, SoundPathLongerThan128Characters) {
  // An existing file, so a snap really asks for the sound with this path.
  std::string name;
  while (name.size() < 150) name += "long-sound-name-";
  const std::string sound = Folder() + "\\" + name + ".wav";
  ASSERT_GT(sound.size(), 128u);
  ASSERT_TRUE(CopyFileA(DefaultSound().c_str(), sound.c_str(), FALSE)) << GetLastError();
  WriteIni("[Setting]\r\nSoundFile=" + sound + "\r\nSoundEnable=1\r\n");

  TestWindow probe(MakeRect(300, 300, 700, 600));
  Kuvella& k = Start();
  EXPECT_TRUE(SnapsTo(probe, MakeRect(5, 600, 405, 900), MakeRect(0, 600, 400, 900)));
  EXPECT_TRUE(SnapsTo(probe, MakeRect(875, 600, 1275, 900), MakeRect(881, 600, 1281, 900)));
  EXPECT_TRUE(k.Running());
  CloseAndWait(k);
  EXPECT_EQ(sound, Ini("SoundFile").value_or("<missing>"));
}

TEST_F(Robustness, WindowsDestroyedBetweenTicks) {
  // Listed at start, gone before the next evaluation.
  auto listed = std::make_unique<TestWindow>(MakeRect(600, 500, 900, 800), "e2e listed");
  TestWindow probe(MakeRect(300, 300, 700, 600));
  Kuvella& k = Start();
  listed.reset();

  // Foreground windows that vanish at varying moments of the tick cycle.
  for (unsigned i = 0; i < 20; ++i) {
    TestWindow doomed(MakeRect(3 + static_cast<int>(i % 4), 600, 403, 900), "e2e doomed");
    doomed.Activate();
    PumpFor(Millis{(i * 37) % 250});
  }
  PumpMessages();
  ASSERT_TRUE(k.Running()) << "ended (crashed?) with code " << k.ExitCode();
  // Snapping goes on, and the stale list entry offers nothing.
  EXPECT_TRUE(StaysPut(probe, MakeRect(200, 550, 595, 750)));
  EXPECT_TRUE(SnapsTo(probe, MakeRect(5, 610, 405, 910), MakeRect(0, 610, 400, 910)));
  CloseAndWait(k);
}

TEST_F(Robustness, FiveHundredWindowsOnTheDesktop) {
  // A grid of small windows at the lower right; the first made lies lowest in the Z order,
  // so it is near the end of the list.
  std::vector<std::unique_ptr<TestWindow>> crowd;
  for (int row = 0; row < 20; ++row) {
    for (int col = 0; col < 25; ++col) {
      const int x = 700 + col * 22, y = 620 + row * 18;
      crowd.push_back(std::make_unique<TestWindow>(MakeRect(x, y, x + 20, y + 15), "e2e crowd",
                                                   WS_POPUP | WS_BORDER));
    }
  }
  PumpMessages();
  const RECT first = crowd.front()->Rect();
  ASSERT_EQ(MakeRect(700, 620, 720, 635), first);

  TestWindow probe(MakeRect(100, 100, 300, 300));
  Kuvella& k = Start();
  // The right edge 5 px before the first column's left edge: one past it.
  EXPECT_TRUE(SnapsTo(probe, MakeRect(300, 625, 695, 700), MakeRect(306, 625, 701, 700)));
  EXPECT_TRUE(SnapsTo(probe, MakeRect(5, 100, 405, 400), MakeRect(0, 100, 400, 400)));
  EXPECT_EQ(first, crowd.front()->Rect());
  EXPECT_TRUE(k.Running());
}

}  // namespace
}  // namespace e2e
