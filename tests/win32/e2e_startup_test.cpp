// Start-up and the ordinary end: what a user sees of Kuvella right after starting it, and
// what a close leaves behind.
#include "TestSupport.h"

namespace e2e {
namespace {

// In a folder with a Japanese name: the settings file and the default sound path carry it.
class StartUp : public KuvellaJapaneseFolderTest {};

TEST_F(StartUp, ShowsOnlyItsTrayIconAndWritesTheDefaultsAtClose) {
  // The foreground window rests 5 px from the left edge while Kuvella starts. (Whether the
  // start-up tick itself leaves it alone differs from the first timer tick only in timing,
  // so it is no end-to-end question.)
  const RECT resting = MakeRect(5, 100, 405, 400);
  TestWindow probe(resting);
  probe.Place(resting);

  Kuvella& k = Start();
  for (HWND h : TopLevelWindowsOf(k.pid())) {
    EXPECT_FALSE(IsWindowVisible(h)) << "visible window of class " << ClassOf(h);
  }
  EXPECT_FALSE(IsWindowVisible(k.App())) << "a taskbar button at start";
  EXPECT_FALSE(IsWindowVisible(k.Main()));

  const int iconsAtStart = static_cast<int>(iconsBefore_.size());
  ASSERT_TRUE(WaitUntil([&] { return TrayIconCount() == iconsAtStart + 1; }))
      << "no tray icon appeared";
  EXPECT_EQ(kTipActive, NewIconTip(iconsBefore_).value_or("<none>"));

  // The window that was resting when it started is evaluated by the timer's ticks.
  EXPECT_TRUE(WaitForRect(probe.hwnd(), MakeRect(0, 100, 400, 400)));

  CloseAndWait(k);
  EXPECT_TRUE(WaitUntil([&] { return TrayIconCount() == iconsAtStart; })) << "icon left behind";
  EXPECT_EQ("8", Ini("MagneticLevel").value_or("<missing>"));
  EXPECT_EQ(DefaultSound(), Ini("SoundFile").value_or("<missing>"));
  EXPECT_EQ("1", Ini("SoundEnable").value_or("<missing>"));
}

}  // namespace
}  // namespace e2e
