#pragma once
// key.ini through the Windows profile and file functions.
#include "settings/settings_file.h"

struct Win32ProfileStore final : ProfileStore {
  bool fileExists(const Text& path) override;
  void createFile(const Text& path, const Text& content) override;
  void setHidden(const Text& path) override;
  Text readProfileString(const Text& section, const Text& entry, const Text& path) override;
  void writeProfileString(const Text& section, const Text& entry, const Text& value, const Text& path) override;
};

// The lead-byte rule of the ANSI code page the program runs under.
bool isAnsiLeadByte(unsigned char lead);

// The folder of the running executable, determined on the first call (at start-up) and kept.
const Text& processRunDirectory();

// The program's key.ini beside its executable.
SettingsFile& programSettingsFile();
