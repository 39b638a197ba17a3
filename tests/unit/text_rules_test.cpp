// Whole numbers in the settings file and the level box, the paths beside the executable and
// the error box's text.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "CaseName.h"
#include "TextRules.h"

namespace kuvella {
namespace {

// --- Integer text --------------------------------------------------------------------------

struct IntCase {
  const char* name;
  std::string text;
  std::optional<std::int32_t> value;  // nullopt: unreadable, the read gives the default
};

std::ostream& operator<<(std::ostream& os, const IntCase& c) { return os << c.name; }

const std::optional<std::int32_t> kUnreadable = std::nullopt;

const IntCase kIntCases[] = {
    {"plain decimal", "8", 8},
    {"zero", "0", 0},
    {"negative decimal", "-3", -3},
    {"a plus sign is allowed before decimal digits", "+3", 3},
    {"minus zero is zero", "-0", 0},
    {"leading zeros are not octal", "010", 10},
    {"many leading zeros", "0000000000000000000042", 42},
    {"the largest decimal", "2147483647", INT32_MAX},
    {"the smallest decimal", "-2147483648", INT32_MIN},
    {"one past the largest decimal", "2147483648", kUnreadable},
    {"one past the largest decimal with a plus", "+2147483648", kUnreadable},
    {"one below the smallest decimal", "-2147483649", kUnreadable},
    {"a decimal far out of range does not wrap", "99999999999999999999", kUnreadable},
    {"hex after 0x", "0x10", 16},
    {"hex after 0X", "0X10", 16},
    {"hex after a dollar", "$10", 16},
    {"hex after x", "x10", 16},
    {"hex after X", "X10", 16},
    {"hex digits in either case", "0xAbC", 0xABC},
    {"eight hex digits F are minus one", "$FFFFFFFF", -1},
    {"eight hex digits F after x", "xffffffff", -1},
    {"hex 80000000 is the smallest integer", "$80000000", INT32_MIN},
    {"hex 7FFFFFFF is the largest integer", "0x7FFFFFFF", INT32_MAX},
    {"eight hex digits are read", "$12345678", 0x12345678},
    {"nine hex digits do not fit", "$123456789", kUnreadable},
    {"nine hex digits with a leading zero fit", "$012345678", 0x12345678},
    {"many leading hex zeros fit", "0x000000000000ff", 255},
    {"leading spaces are skipped", "   42", 42},
    {"leading spaces before a sign", " -7", -7},
    {"leading spaces before a hex prefix", "  $1E", 30},
    {"a trailing space is not allowed", "42 ", kUnreadable},
    {"a space inside the digits is not allowed", "4 2", kUnreadable},
    {"a space after the sign is not allowed", "- 7", kUnreadable},
    {"a tab is not a blank", "\t42", kUnreadable},
    {"units after the number", "12px", kUnreadable},
    {"an exponent", "1e3", kUnreadable},
    {"a decimal point", "1.0", kUnreadable},
    {"empty text", "", kUnreadable},
    {"blanks only", "   ", kUnreadable},
    {"a minus alone", "-", kUnreadable},
    {"a plus alone", "+", kUnreadable},
    {"0x alone", "0x", kUnreadable},
    {"a dollar alone", "$", kUnreadable},
    {"x alone", "x", kUnreadable},
    {"minus before 0x", "-0x10", kUnreadable},
    {"plus before a dollar", "+$10", kUnreadable},
    {"minus before a dollar", "-$10", kUnreadable},
    {"a sign after the hex prefix", "0x-1", kUnreadable},
    {"a letter beyond F", "0x1G", kUnreadable},
    {"a hex digit without a prefix", "1F", kUnreadable},
    {"a dollar after a zero", "0$10", kUnreadable},
    {"two signs", "--1", kUnreadable},
    {"full-width digits in code page 932", "\x82\x50\x82\x4F", kUnreadable},
    {"a NUL inside the text", std::string("1\0" "2", 3), kUnreadable},
};

class IntegerText : public ::testing::TestWithParam<IntCase> {};

TEST_P(IntegerText, ParsesOrIsUnreadable) {
  const IntCase& c = GetParam();
  EXPECT_EQ(ParseWholeNumber(c.text), c.value) << "text \"" << c.text << "\"";
  EXPECT_EQ(ReadIniInteger(c.text, 8), c.value.value_or(8)) << "with default 8";
  EXPECT_EQ(ReadIniInteger(c.text, -77), c.value.value_or(-77)) << "with default -77";
}

INSTANTIATE_TEST_SUITE_P(Cases, IntegerText, ::testing::ValuesIn(kIntCases), NameOfRow{});

// --- Boolean text --------------------------------------------------------------------------

TEST(BooleanText, EveryZeroIsFalseEveryOtherNumberTrueAndAWordTheDefault) {
  struct Row {
    const char* name;
    const char* text;
    bool withDefaultTrue, withDefaultFalse;
  } const rows[] = {
      {"0 is false", "0", false, false},
      {"00 is false", "00", false, false},
      {"-0 is false", "-0", false, false},
      {"$0 is false", "$0", false, false},
      {"0x0 is false", "0x0", false, false},
      {"1 is true", "1", true, true},
      {"2 is true", "2", true, true},
      {"-1 is true", "-1", true, true},
      {"$FFFFFFFF is true", "$FFFFFFFF", true, true},
      {"the word false gives the default", "false", true, false},
      {"the word no gives the default", "no", true, false},
      {"the word off gives the default", "off", true, false},
      {"empty text gives the default", "", true, false},
      {"0 with a trailing blank gives the default", "0 ", true, false},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ReadIniBoolean(r.text, true), r.withDefaultTrue) << r.name << ", default true";
    EXPECT_EQ(ReadIniBoolean(r.text, false), r.withDefaultFalse) << r.name << ", default false";
  }
}

TEST(BooleanText, IsWrittenAsOneOrZero) {
  EXPECT_STREQ(FormatBoolean(true), "1");
  EXPECT_STREQ(FormatBoolean(false), "0");
}

// --- Writing integers ----------------------------------------------------------------------

TEST(FormatInteger, DecimalWithAMinusInFrontAndNothingElse) {
  struct Row {
    const char* name;
    std::int32_t value;
    const char* text;
  } const rows[] = {
      {"the default level", 8, "8"},
      {"zero", 0, "0"},
      {"a negative value", -3, "-3"},
      {"a value read from hex 10", 16, "16"},
      {"the largest integer", INT32_MAX, "2147483647"},
      {"the smallest integer", INT32_MIN, "-2147483648"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(FormatInteger(r.value), r.text) << r.name;
    EXPECT_EQ(ReadIniInteger(FormatInteger(r.value), 12345), r.value) << r.name << " reads back";
  }
}

// --- Paths beside the executable -----------------------------------------------------------

struct PathCase {
  const char* name;
  std::string module;
  std::string directory;
  std::string ini;
};

std::ostream& operator<<(std::ostream& os, const PathCase& c) { return os << c.name; }

const PathCase kPathCases[] = {
    {"app.exe in a folder", "C:\\Tools\\app.exe", "C:\\Tools\\", "C:\\Tools\\app.ini"},
    {"only the last extension is replaced", "C:\\Tools\\my.app.exe", "C:\\Tools\\",
     "C:\\Tools\\my.app.ini"},
    {"a dot in a folder name is not an extension", "C:\\My.Tools\\app", "C:\\My.Tools\\",
     "C:\\My.Tools\\app.ini"},
    {"a folder named with a double-byte character whose second byte is a backslash",
     "C:\\\x95\x5C\\app.exe", "C:\\\x95\x5C\\", "C:\\\x95\x5C\\app.ini"},
    {"a file name ending in such a character has no extension and keeps its folder",
     "C:\\Tools\\app\x95\x5C", "C:\\Tools\\", "C:\\Tools\\app\x95\x5C.ini"},
    {"such a character after the last dot does not hide the extension",
     "C:\\Tools\\app.\x95\x5C", "C:\\Tools\\", "C:\\Tools\\app.ini"},
    {"a katakana folder name whose first trail byte is a backslash",
     "C:\\\x83\x5C\x83\x74\x83\x67\\app", "C:\\\x83\x5C\x83\x74\x83\x67\\",
     "C:\\\x83\x5C\x83\x74\x83\x67\\app.ini"},
    {"a single-byte katakana is no lead byte", "C:\\\xB1\\a\x5C" "b.exe", "C:\\\xB1\\a\\",
     "C:\\\xB1\\a\\b.ini"},
    {"a drive-relative path ends its folder at the colon", "C:app.exe", "C:", "C:app.ini"},
    {"a drive-relative path without an extension", "C:app", "C:", "C:app.ini"},
    {"a bare name has no folder", "app.exe", "", "app.ini"},
    {"a bare name without an extension", "app", "", "app.ini"},
    {"a name that is only an extension", "C:\\Tools\\.exe", "C:\\Tools\\", "C:\\Tools\\.ini"},
    {"a trailing dot is cut", "C:\\Tools\\app.", "C:\\Tools\\", "C:\\Tools\\app.ini"},
    {"a UNC path", "\\\\server\\share\\app.exe", "\\\\server\\share\\",
     "\\\\server\\share\\app.ini"},
    {"the empty path", "", "", ".ini"},
};

class ExePaths : public ::testing::TestWithParam<PathCase> {};

TEST_P(ExePaths, DirectoryAndSettingsFile) {
  const PathCase& c = GetParam();
  EXPECT_EQ(ExeDirectory(c.module), c.directory);
  EXPECT_EQ(IniPathFor(c.module), c.ini);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExePaths, ::testing::ValuesIn(kPathCases), NameOfRow{});

TEST(IsTrailByte932, FollowsLeadBytesFromTheStart) {
  struct Row {
    const char* name;
    std::string text;
    std::size_t index;
    bool trail;
  } const rows[] = {
      {"the byte after a lead byte", "\x95\x5C", 1, true},
      {"a lead byte itself", "\x95\x5C", 0, false},
      {"a backslash after an ASCII letter", "a\x5C", 1, false},
      {"a lead-range byte as a trail byte leads nothing", "\x95\x95\x5C", 2, false},
      {"two double-byte characters in a row", "\x95\x5C\x83\x5C", 3, true},
      {"an index past the end", "\x95", 5, false},
      {"a half-width katakana is single-byte", "\xB1\x5C", 1, false},
      {"a lead byte from the upper range", "\xE0\x5C", 1, true},
  };
  for (const Row& r : rows) EXPECT_EQ(IsTrailByte932(r.text, r.index), r.trail) << r.name;
}

// --- The error box -------------------------------------------------------------------------

TEST(ErrorBoxText, AddsAFullStopAfterACharacterAboveIt) {
  struct Row {
    const char* name;
    std::string message;
    std::string shown;
  } const rows[] = {
      {"a letter gets a full stop", "abc", "abc."},
      {"a full stop already there gets none", "abc.", "abc."},
      {"a hyphen sorts before the full stop and gets none", "a-", "a-"},
      {"a closing parenthesis sorts before it", "(a)", "(a)"},
      {"a slash sorts after it", "a/", "a/."},
      {"a digit sorts after it", "v1", "v1."},
      {"the empty message stays empty", "", ""},
      {"a message ending in a double-byte character gets a full stop",
       "'abc' \x82\xCD\x90\xAE\x90\x94\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1",
       "'abc' \x82\xCD\x90\xAE\x90\x94\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1."},
      {"a double-byte character whose trail byte is a backslash", "\x95\x5C", "\x95\x5C."},
  };
  for (const Row& r : rows) EXPECT_EQ(ErrorBoxText(r.message), r.shown) << r.name;
}

}  // namespace
}  // namespace kuvella
