#pragma once
// The settings file through the system's private-profile calls, with the integer and boolean
// text rules of the file. A failed write raises EIniFileException.
#include <cstdint>
#include <string>

namespace kuvella {

class TIniFile {
 public:
  explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
  const std::string& FileName() const { return fileName_; }

  std::string ReadString(const char* section, const char* key, const std::string& def) const;
  std::int32_t ReadInteger(const char* section, const char* key, std::int32_t def) const;
  bool ReadBool(const char* section, const char* key, bool def) const;
  void WriteString(const char* section, const char* key, const std::string& value) const;
  void WriteInteger(const char* section, const char* key, std::int32_t value) const;
  void WriteBool(const char* section, const char* key, bool value) const;

 private:
  std::string fileName_;
};

// The running module's full path, in the ANSI code page.
std::string ModuleFileName();

}  // namespace kuvella
