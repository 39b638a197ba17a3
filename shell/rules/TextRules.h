#pragma once
// Text rules of the shell that need no window system: numbers in the settings file and in
// the level box, the paths derived from the executable's, and the error box's text.
// Texts are bytes in the ANSI code page (932 for Kuvella's users).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kuvella {

// A whole number as the settings file and the level box accept it: leading spaces, then an
// optional sign and decimal digits, or hex digits after "$", "x", "X", "0x" or "0X" (no sign);
// nothing after the digits; decimal within the signed 32-bit range, hex within 32 bits
// (taken as signed). nullopt for anything else.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

// The settings file's integer read: the default for missing or unreadable text.
std::int32_t ReadIniInteger(std::string_view text, std::int32_t defaultValue);
// The settings file's boolean read: any number but 0 is true; unreadable gives the default.
bool ReadIniBoolean(std::string_view text, bool defaultValue);
// Decimal digits, "-" in front of a negative value.
std::string FormatInteger(std::int32_t value);
inline const char* FormatBoolean(bool value) { return value ? "1" : "0"; }

// True when byte i of text is the trail byte of a code page 932 double-byte character.
bool IsTrailByte932(std::string_view text, std::size_t i);

// The executable's directory: its path up to and including the last "\" or ":".
std::string ExeDirectory(std::string_view modulePath);
// The settings file: the path with its last extension replaced by ".ini".
std::string IniPathFor(std::string_view modulePath);

// The standard error box's message: "." is added when the last character's code is greater
// than that of ".".
std::string ErrorBoxText(std::string_view message);

}  // namespace kuvella
