// The level control: the up-down with its buddy box and the window side's copy.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "CaseName.h"
#include "LevelRules.h"
#include "TextRules.h"

namespace kuvella {
namespace {

// What the settings window does with the control, in the words of its handlers.
struct LevelWindow {
  TLevelControlModel control;  // position 16 and text "16" from the layout

  void show(std::int32_t magneticLevel) { control.SetPosition(LowSigned16(magneticLevel)); }
  // Update/OK: the position, re-read from the box, sign-extended.
  std::int32_t apply() { return control.ReadPosition(); }
  // Leaving the level box: false when the conversion error is raised.
  bool exitBox() {
    const std::optional<std::int32_t> v = ParseWholeNumber(control.text());
    if (!v) return false;
    control.SetPosition(LowSigned16(*v));
    return true;
  }
};

TEST(LowSigned16, KeepsTheLow16BitsReadAsSigned) {
  struct Row {
    const char* name;
    std::int32_t value;
    std::int16_t low;
  } const rows[] = {
      {"a small level", 8, 8},
      {"the largest position", 32767, 32767},
      {"bit 15 set reads negative", 32768, -32768},
      {"all 16 bits set is minus one", 65535, -1},
      {"2^16 + 8 is 8", 65536 + 8, 8},
      {"a negative level", -5, -5},
      {"the smallest integer has zero low bits", INT32_MIN, 0},
      {"the largest integer has all low bits set", INT32_MAX, -1},
  };
  for (const Row& r : rows) EXPECT_EQ(LowSigned16(r.value), r.low) << r.name;
}

TEST(ClampLevel, KeepsThePositionWithin0To100) {
  struct Row {
    const char* name;
    int value, clamped;
  } const rows[] = {
      {"below the range", -1, 0}, {"the bottom", 0, 0},    {"inside", 42, 42},
      {"the top", 100, 100},      {"above the range", 101, 100}, {"far above", 32767, 100},
      {"far below", -32768, 0},
  };
  for (const Row& r : rows) EXPECT_EQ(ClampLevel(r.value), r.clamped) << r.name;
}

TEST(LevelFromBuddyText, TakesADecimalWithin0To100AndNothingElse) {
  struct Row {
    const char* name;
    const char* text;
    std::optional<int> position;
  } const rows[] = {
      {"zero", "0", 0},
      {"one hundred", "100", 100},
      {"a level inside", "20", 20},
      {"one past the top", "101", std::nullopt},
      {"150 is out of range", "150", std::nullopt},
      {"negative", "-1", std::nullopt},
      {"empty", "", std::nullopt},
      {"not a number", "abc", std::nullopt},
      {"hex is not decimal", "$1E", std::nullopt},
      {"a trailing blank", "20 ", std::nullopt},
      {"far too many digits do not overflow into range", "4294967316", std::nullopt},
      {"leading zeros before 100 are still 100", "0000100", 100},
      {"leading zeros before 101 are still out of range", "00000000101", std::nullopt},
  };
  for (const Row& r : rows) EXPECT_EQ(LevelFromBuddyText(r.text), r.position) << r.name;
}

struct ShowCase {
  const char* name;
  std::int32_t magneticLevel;
  const char* shown;
  std::int32_t storedByOk;
};

std::ostream& operator<<(std::ostream& os, const ShowCase& c) { return os << c.name; }

class LevelShow : public ::testing::TestWithParam<ShowCase> {};

TEST_P(LevelShow, ShowsTheClampedLow16BitsAndOkStoresWhatIsShown) {
  const ShowCase& c = GetParam();
  LevelWindow w;
  w.show(c.magneticLevel);
  EXPECT_EQ(w.control.text(), c.shown);
  EXPECT_EQ(w.apply(), c.storedByOk);
}

const ShowCase kShowCases[] = {
    {"the default level 8 shows as 8", 8, "8", 8},
    {"250 shows as 100", 250, "100", 100},
    {"-5 shows as 0", -5, "0", 0},
    {"2^16 + 8 shows as 8", 65536 + 8, "8", 8},
    {"2^16 + 250 shows as 100", 65536 + 250, "100", 100},
    {"32768 reads as -32768 and shows as 0", 32768, "0", 0},
    {"the layout's own 16 shows as 16", 16, "16", 16},
    {"a level of 100 shows as 100", 100, "100", 100},
};
INSTANTIATE_TEST_SUITE_P(Cases, LevelShow, ::testing::ValuesIn(kShowCases), NameOfRow{});

struct ExitCase {
  const char* name;
  std::int32_t shownLevel;  // what the window showed before the typing
  const char* typed;
  bool converts;            // false: the conversion error box
  const char* boxAfter;
};

std::ostream& operator<<(std::ostream& os, const ExitCase& c) { return os << c.name; }

class LevelBoxExit : public ::testing::TestWithParam<ExitCase> {};

TEST_P(LevelBoxExit, ConvertsTheTypedTextAndSetsThePosition) {
  const ExitCase& c = GetParam();
  LevelWindow w;
  w.show(c.shownLevel);
  w.control.TypeText(c.typed);
  EXPECT_EQ(w.exitBox(), c.converts);
  EXPECT_EQ(w.control.text(), c.boxAfter);
}

const ExitCase kExitCases[] = {
    {"150 becomes 100", 8, "150", true, "100"},
    {"hex $1E becomes 30", 8, "$1E", true, "30"},
    {"hex 0x10 becomes 16", 8, "0x10", true, "16"},
    {"leading blanks are allowed", 8, "  20", true, "20"},
    {"a negative number becomes 0", 8, "-2", true, "0"},
    {"a trailing blank raises the error and the text stays", 8, "8 ", false, "8 "},
    {"text that is no number raises the error and stays", 8, "abc", false, "abc"},
    {"an empty box raises the error", 8, "", false, ""},
    {"a decimal beyond 32 bits raises the error", 8, "2147483648", false, "2147483648"},
    {"2^16 + 8 against a copy of 16 becomes 8", 16, "65544", true, "8"},
    {"2^16 + 8 against a copy of 8 is left as typed", 8, "65544", true, "65544"},
    {"the number the copy holds is left as typed", 8, "008", true, "008"},
};
INSTANTIATE_TEST_SUITE_P(Cases, LevelBoxExit, ::testing::ValuesIn(kExitCases), NameOfRow{});

TEST(LevelControl, ReadingThePositionRereadsTheBox) {
  struct Row {
    const char* name;
    const char* typed;
    std::int32_t read;
  } const rows[] = {
      {"20 typed and applied without leaving the box is stored", "20", 20},
      {"150 typed keeps the position", "150", 8},
      {"text that is no number keeps the position", "abc", 8},
      {"an empty box keeps the position", "", 8},
  };
  for (const Row& r : rows) {
    LevelWindow w;
    w.show(8);
    w.control.TypeText(r.typed);
    EXPECT_EQ(w.apply(), r.read) << r.name;
  }
}

TEST(LevelControl, TypedTextSurvivesAShowWithTheSameLevel) {
  LevelWindow w;
  w.show(8);
  w.control.TypeText("20");  // then Cancel
  w.show(8);                 // shown again, the level unchanged
  EXPECT_EQ(w.control.text(), "20");
  EXPECT_EQ(w.apply(), 20) << "OK then stores 20";
}

TEST(LevelControl, SettingTheValueTheCopyHoldsChangesNothing) {
  LevelWindow w;
  EXPECT_TRUE(w.control.SetPosition(8));
  w.control.TypeText("55");
  EXPECT_FALSE(w.control.SetPosition(8)) << "no text change, so no change handler";
  EXPECT_EQ(w.control.text(), "55");
}

TEST(LevelControl, TheCopyKeepsTheUnclampedValueUntilTheNextRead) {
  LevelWindow w;
  w.show(250);
  EXPECT_EQ(w.control.copy(), 250);
  EXPECT_EQ(w.control.position(), 100);
  w.control.TypeText("40");
  w.show(250);
  EXPECT_EQ(w.control.text(), "40") << "250 again equals the copy: nothing happens";
  EXPECT_EQ(w.apply(), 40);
  EXPECT_EQ(w.control.copy(), 40) << "the read replaced the copy";
  w.show(250);
  EXPECT_EQ(w.control.text(), "100");
}

TEST(LevelControl, StepsBy2AndStopsAtTheEnds) {
  struct Row {
    const char* name;
    std::int32_t start;
    int direction;
    int steps;
    const char* shown;
  } const rows[] = {
      {"one step up from 8", 8, +1, 1, "10"},
      {"one step down from 8", 8, -1, 1, "6"},
      {"up from 98 stops at 100", 98, +1, 3, "100"},
      {"down from 2 stops at 0", 2, -1, 3, "0"},
      {"no wrap from 100 up", 100, +1, 1, "100"},
      {"no wrap from 0 down", 0, -1, 1, "0"},
  };
  for (const Row& r : rows) {
    LevelWindow w;
    w.show(r.start);
    for (int i = 0; i < r.steps; ++i) w.control.Step(r.direction);
    EXPECT_EQ(w.control.text(), r.shown) << r.name;
    EXPECT_EQ(w.apply(), std::stoi(r.shown)) << r.name;
  }
}

TEST(LevelControl, AStepAtAnEndDoesNotChangeTheBox) {
  LevelWindow w;
  w.show(100);
  EXPECT_FALSE(w.control.Step(+1));
  w.show(0);
  EXPECT_FALSE(w.control.Step(-1));
}

TEST(LevelControl, TheCopyFollowsASpinStep) {
  LevelWindow w;
  w.show(8);
  w.control.Step(+1);  // 10
  w.control.TypeText("abc");
  w.show(10);
  EXPECT_EQ(w.control.text(), "abc") << "10 equals the copy after the step";
}

}  // namespace
}  // namespace kuvella
