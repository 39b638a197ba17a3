// kuvella.ini beside the executable: read once at start, written when the program closes.
#include "TestSupport.h"

namespace e2e {
namespace {

struct ReadCase {
  const char* name;
  const char* lines;     // the [Setting] section's lines written before the start
  RECT from, to;         // a probe that shows the level in effect (to == from: it stays)
  const char* level;     // MagneticLevel written back at the close
  const char* enable;    // SoundEnable written back at the close
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class SettingsFileRead : public KuvellaTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(SettingsFileRead, ValueTakesEffectAndIsWrittenBack) {
  const ReadCase& c = GetParam();
  WriteIni(std::string("[Setting]\r\n") + c.lines);
  TestWindow probe(MakeRect(300, 300, 700, 600));
  Kuvella& k = Start();
  EXPECT_TRUE(RestsAt(probe, c.from, c.to));
  CloseAndWait(k);
  EXPECT_EQ(c.level, Ini("MagneticLevel").value_or("<missing>"));
  EXPECT_EQ(c.enable, Ini("SoundEnable").value_or("<missing>"));
  EXPECT_EQ(DefaultSound(), Ini("SoundFile").value_or("<missing>"));
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsFileRead,
    ::testing::Values(
        ReadCase{"HexLevel", "MagneticLevel=0x10\r\n", {14, 600, 414, 900}, {0, 600, 400, 900}, "16", "1"},
        ReadCase{"DollarHexLevel", "MagneticLevel=$10\r\n", {16, 600, 416, 900}, {0, 600, 400, 900}, "16", "1"},
        ReadCase{"LeadingZeroIsDecimal", "MagneticLevel=010\r\n", {10, 600, 410, 900}, {0, 600, 400, 900}, "10", "1"},
        // A negative level moves nothing, not even a window flush with the right edge.
        ReadCase{"NegativeLevel", "MagneticLevel=-3\r\n", {880, 600, 1280, 900}, {880, 600, 1280, 900}, "-3", "1"},
        ReadCase{"ZeroLevelStillMovesFlushRight", "MagneticLevel=0\r\n", {880, 600, 1280, 900}, {881, 600, 1281, 900}, "0", "1"},
        ReadCase{"UnreadableLevelGivesTheDefault", "MagneticLevel=12px\r\n", {12, 600, 412, 900}, {12, 600, 412, 900}, "8", "1"},
        ReadCase{"SoundEnableWordGivesTheDefault", "SoundEnable=false\r\n", {8, 600, 408, 900}, {0, 600, 400, 900}, "8", "1"},
        ReadCase{"SoundEnableZero", "SoundEnable=0\r\n", {8, 600, 408, 900}, {0, 600, 400, 900}, "8", "0"},
        ReadCase{"SoundEnableOtherNumber", "SoundEnable=-1\r\nSoundFile=\r\n", {8, 600, 408, 900}, {0, 600, 400, 900}, "8", "1"}),
    [](const ::testing::TestParamInfo<ReadCase>& p) { return std::string(p.param.name); });

struct NameCase {
  const char* name;
  const char* exe;  // the executable's file name in the test folder
  const char* ini;  // the settings file it uses
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.name; }

class SettingsFileName : public KuvellaTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(SettingsFileName, IsTheExecutablesNameWithItsLastExtensionReplaced) {
  const NameCase& c = GetParam();
  const std::string exe = Folder() + "\\" + c.exe;
  ASSERT_TRUE(MoveFileA(Exe().c_str(), exe.c_str())) << GetLastError();
  Kuvella& k = Start(exe);
  CloseAndWait(k);
  const std::string ini = Folder() + "\\" + c.ini;
  EXPECT_TRUE(FileExists(ini)) << ini;
  EXPECT_EQ("8", IniValue(ini, "MagneticLevel").value_or("<missing>"));
  // The default sound lies in the executable's directory.
  EXPECT_EQ(DefaultSound(), IniValue(ini, "SoundFile").value_or("<missing>"));
}

INSTANTIATE_TEST_SUITE_P(
    Names, SettingsFileName,
    ::testing::Values(NameCase{"TwoDots", "my.app.exe", "my.app.ini"},
                      // The second byte of "表" is a backslash; it separates nothing.
                      NameCase{"JapaneseName", "表示.exe", "表示.ini"},
                      NameCase{"BackslashTrailByteBeforeTheDot", "ソフト表.exe", "ソフト表.ini"}),
    [](const ::testing::TestParamInfo<NameCase>& p) { return std::string(p.param.name); });

class SettingsFile : public KuvellaTest {};

TEST_F(SettingsFile, OtherSectionsAndKeysSurviveAClose) {
  WriteIni("[Before]\r\nkeep=one\r\n[Setting]\r\nOwnKey=two\r\nMagneticLevel=5\r\n[After]\r\nkeep=three\r\n");
  Kuvella& k = Start();
  CloseAndWait(k);
  EXPECT_EQ("one", IniValue(IniPath(), "keep", "Before").value_or("<missing>"));
  EXPECT_EQ("two", Ini("OwnKey").value_or("<missing>"));
  EXPECT_EQ("three", IniValue(IniPath(), "keep", "After").value_or("<missing>"));
  EXPECT_EQ("5", Ini("MagneticLevel").value_or("<missing>"));
  EXPECT_EQ("1", Ini("SoundEnable").value_or("<missing>"));
}

TEST_F(SettingsFile, SoundFileLongerThan2047BytesIsCutAtTheNextClose) {
  std::string longPath = "C:\\";
  for (int i = 0; longPath.size() < 3000; ++i) longPath += static_cast<char>('a' + i % 26);
  WriteIni("[Setting]\r\nSoundFile=" + longPath + "\r\n");
  TestWindow probe(MakeRect(300, 300, 700, 600));
  Kuvella& k = Start();
  // It runs as usual with it (the file does not exist: no sound).
  EXPECT_TRUE(SnapsTo(probe, MakeRect(5, 600, 405, 900), MakeRect(0, 600, 400, 900)));
  CloseAndWait(k);
  EXPECT_EQ(longPath.substr(0, 2047), Ini("SoundFile").value_or("<missing>"));
}

// The path in the error box is the Japanese one.
class UnwritableSettingsFile : public KuvellaJapaneseFolderTest {};

TEST_F(UnwritableSettingsFile, CloseShowsTheErrorBoxThenEnds) {
  // A directory where the file should be: reading gives the defaults, writing fails.
  ASSERT_TRUE(CreateDirectoryA(IniPath().c_str(), nullptr));
  Kuvella& k = Start();
  const int icons = static_cast<int>(iconsBefore_.size()) + 1;
  ASSERT_TRUE(WaitUntil([&] { return TrayIconCount() == icons; }));

  PostMessageA(k.Main(), WM_CLOSE, 0, 0);
  HWND box = k.FindErrorBox();
  ASSERT_NE(nullptr, box) << "no error box";
  EXPECT_EQ(IniPath() + " に書き込めません.", MessageBoxText(box));
  EXPECT_NE(nullptr, GetDlgItem(box, IDOK));
  EXPECT_TRUE(k.Running()) << "ended before the box was closed";
  // The close removed the icon before it tried to write.
  EXPECT_TRUE(WaitUntil([&] { return TrayIconCount() == icons - 1; })) << "icon still there";

  CloseMessageBox(box);
  ASSERT_TRUE(k.WaitExit()) << "still running after the error box";
  EXPECT_EQ(0u, k.ExitCode());
  EXPECT_TRUE(DirectoryExists(IniPath()));
}

TEST_F(SettingsFile, EndOfSessionWritesTheSettingsAndEnds) {
  WriteIni("[Setting]\r\nMagneticLevel=12\r\nSoundEnable=0\r\n");
  Kuvella& k = Start();
  // Give the file other values than the program holds, to see that it writes them.
  WriteIni("[Setting]\r\nMagneticLevel=99\r\n");

  EXPECT_EQ(TRUE, SendTo(k.Main(), WM_QUERYENDSESSION, 0, 0)) << "refused to end the session";
  SendTo(k.Main(), WM_ENDSESSION, FALSE, 0);  // the session goes on after all
  SendTo(k.Main(), WM_NULL);
  EXPECT_TRUE(k.Running()) << "ended although the session did not";
  EXPECT_EQ("99", Ini("MagneticLevel").value_or("<missing>"));

  SendTo(k.Main(), WM_ENDSESSION, TRUE, 0);
  // Silently: an error box would hold the process.
  ASSERT_TRUE(k.WaitExit()) << "still running after the end of the session";
  EXPECT_EQ("12", Ini("MagneticLevel").value_or("<missing>"));
  EXPECT_EQ(DefaultSound(), Ini("SoundFile").value_or("<missing>"));
  EXPECT_EQ("0", Ini("SoundEnable").value_or("<missing>"));
}

TEST_F(SettingsFile, TwoCopiesInOneFolderTheOneClosedLastDecides) {
  WriteIni("[Setting]\r\nMagneticLevel=11\r\n");
  Kuvella& first = Start();
  WriteIni("[Setting]\r\nMagneticLevel=12\r\n");
  Kuvella& second = Start();
  ASSERT_NE(first.Main(), second.Main());
  const int icons = static_cast<int>(iconsBefore_.size()) + 1;  // the second's view
  EXPECT_TRUE(WaitUntil([&] { return TrayIconCount() == icons; })) << "not one icon each";

  CloseAndWait(second);
  EXPECT_EQ("12", Ini("MagneticLevel").value_or("<missing>"));
  EXPECT_TRUE(first.Running());
  CloseAndWait(first);
  EXPECT_EQ("11", Ini("MagneticLevel").value_or("<missing>"));
}

}  // namespace
}  // namespace e2e
