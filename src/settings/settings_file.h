#pragma once
// key.ini beside the executable: the six key-box names in [key], the six key codes in [keys].
// Read once at start-up, written once on the close road, through a narrow profile interface
// so the rules are checked on the host and the real profile functions under Windows.
#include <array>

#include "app/text.h"
#include "remap/key_slots.h"

struct MainWindowPort;

// What the settings file needs of the system. Results are not examined: a failed step leaves
// the file as it was, and a failed read gives an empty text.
struct ProfileStore {
  virtual ~ProfileStore() = default;
  // A directory entry of exactly that name exists (hidden and system files included).
  virtual bool fileExists(const Text& path) = 0;
  // A new file with exactly these bytes; an existing one of that name would be emptied first.
  virtual void createFile(const Text& path, const Text& content) = 0;
  // The file's attributes become hidden and nothing else.
  virtual void setHidden(const Text& path) = 0;
  // The entry's value as the profile functions read it (outer blanks and enclosing quotation
  // marks dropped, cut to 10239 bytes); empty when the file, section or entry is missing.
  virtual Text readProfileString(const Text& section, const Text& entry, const Text& path) = 0;
  // Stores the value, creating the file, section and entry when missing; keeps the rest.
  virtual void writeProfileString(const Text& section, const Text& entry, const Text& value, const Text& path) = 0;
};

// Tells whether a byte opens a double-byte character in the ANSI code page.
using LeadBytePredicate = bool (*)(unsigned char lead);

// The folder of a module path without its trailing backslash: C:\Games\Tool\x.exe gives
// C:\Games\Tool, C:\x.exe gives C:. Empty when the path holds no backslash.
Text runDirectory(const Text& modulePath, LeadBytePredicate isLeadByte = isGbkLeadByte);

// runDirectory followed by "/key.ini": the Windows file functions take / as a separator.
Text filePath(const Text& runDirectory);

// The exact 121 bytes of a newly created key.ini.
const Text& defaultContent();

// A value with a blank at either end goes to the file inside double quotes: reading drops
// outer blanks but then also drops the enclosing quotes, so " 键" comes back as it was.
Text profileValueToWrite(const Text& value);

struct SettingsFile {
  ProfileStore& store;
  Text path;

  // Creates the file, hidden, with defaultContent when no entry of its name exists.
  // An existing file is never rewritten, repaired or hidden.
  void ensureFile();
  // Names into key boxes 1 to 6, then codes into slots 1 to 6.
  void load(std::array<KeySlot, 6>& slots, MainWindowPort& window);
  // Box texts 1 to 6, then codes 1 to 6; an empty text as an empty value, nothing deleted.
  void save(const std::array<KeySlot, 6>& slots, MainWindowPort& window);
  Text readEntry(const Text& section, const Text& entry);
  void writeEntry(const Text& section, const Text& entry, const Text& value);
};

constexpr const char* keyNameSection = "key";
constexpr const char* keyCodeSection = "keys";
