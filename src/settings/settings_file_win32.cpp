#include "settings/settings_file_win32.h"

#include <windows.h>

#include <vector>

namespace {

// One byte more than the longest value the file may hand back.
constexpr DWORD profileBufferSize = 10240;

}  // namespace

bool isAnsiLeadByte(unsigned char lead) { return IsDBCSLeadByte(lead) != FALSE; }

bool Win32ProfileStore::fileExists(const Text& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

void Win32ProfileStore::createFile(const Text& path, const Text& content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
}

void Win32ProfileStore::setHidden(const Text& path) { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN); }

Text Win32ProfileStore::readProfileString(const Text& section, const Text& entry, const Text& path) {
  std::vector<char> buffer(profileBufferSize, '\0');
  GetPrivateProfileStringA(section.c_str(), entry.c_str(), "", buffer.data(), profileBufferSize, path.c_str());
  buffer.back() = '\0';
  return Text(buffer.data());
}

void Win32ProfileStore::writeProfileString(const Text& section, const Text& entry, const Text& value,
                                           const Text& path) {
  // Never a null value: that would delete the entry.
  WritePrivateProfileStringA(section.c_str(), entry.c_str(), value.c_str(), path.c_str());
}

const Text& processRunDirectory() {
  static const Text folder = [] {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return Text();
    return runDirectory(Text(path, length), isAnsiLeadByte);
  }();
  return folder;
}

SettingsFile& programSettingsFile() {
  static Win32ProfileStore store;
  static SettingsFile file{store, filePath(processRunDirectory())};
  return file;
}
