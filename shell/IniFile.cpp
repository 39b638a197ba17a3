#include "IniFile.h"

#include <windows.h>

#include "Errors.h"
#include "TextRules.h"
#include "Texts.h"

namespace kuvella {

std::string ModuleFileName() {
  char buffer[MAX_PATH + 1] = {};  // 261 characters
  const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return std::string(buffer, n < sizeof buffer ? n : sizeof buffer - 1);
}

std::string TIniFile::ReadString(const char* section, const char* key, const std::string& def) const {
  char buffer[2048];
  const DWORD n = GetPrivateProfileStringA(section, key, def.c_str(), buffer, sizeof buffer,
                                           fileName_.c_str());
  return std::string(buffer, n < sizeof buffer ? n : sizeof buffer - 1);
}

std::int32_t TIniFile::ReadInteger(const char* section, const char* key, std::int32_t def) const {
  return ReadIniInteger(ReadString(section, key, ""), def);
}

bool TIniFile::ReadBool(const char* section, const char* key, bool def) const {
  return ReadIniBoolean(ReadString(section, key, ""), def);
}

void TIniFile::WriteString(const char* section, const char* key, const std::string& value) const {
  if (!WritePrivateProfileStringA(section, key, value.c_str(), fileName_.c_str())) {
    throw EIniFileException(fileName_ + texts::kErrWriteFmt);
  }
}

void TIniFile::WriteInteger(const char* section, const char* key, std::int32_t value) const {
  WriteString(section, key, FormatInteger(value));
}

void TIniFile::WriteBool(const char* section, const char* key, bool value) const {
  WriteString(section, key, FormatBoolean(value));
}

}  // namespace kuvella
