#include "settings/settings_file.h"

#include <string>

#include "app/main_window_port.h"

Text runDirectory(const Text& modulePath, LeadBytePredicate isLeadByte) {
  // Character by character: in a double-byte code page the second byte of a character can be
  // 0x5C and must not be taken for a separator.
  std::size_t lastSlash = Text::npos;
  for (std::size_t i = 0; i < modulePath.size(); ++i) {
    const unsigned char current = static_cast<unsigned char>(modulePath[i]);
    if (current == '\\') {
      lastSlash = i;
    } else if (isLeadByte(current) && i + 1 < modulePath.size()) {
      ++i;
    }
  }
  if (lastSlash == Text::npos) return Text();
  return modulePath.substr(0, lastSlash);
}

Text filePath(const Text& folder) { return folder + "/key.ini"; }

const Text& defaultContent() {
  static const Text content =
      "[key]\r\n1=小键盘8\r\n2=小键盘5\r\n3=小键盘2\r\n4=小键盘1\r\n5=小键盘4\r\n6=小键盘7\r\n"
      "[keys]\r\n1=104\r\n2=101\r\n3=98\r\n4=97\r\n5=100\r\n6=103\r\n";
  return content;
}

Text profileValueToWrite(const Text& value) {
  if (value.empty()) return value;
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (blank(value.front()) || blank(value.back())) return '"' + value + '"';
  return value;
}

void SettingsFile::ensureFile() {
  if (store.fileExists(path)) return;
  store.createFile(path, defaultContent());
  store.setHidden(path);
}

void SettingsFile::load(std::array<KeySlot, 6>& slots, MainWindowPort& window) {
  for (std::size_t i = 0; i < slots.size(); ++i) {
    window.setText(slots[i].keyBox, readEntry(keyNameSection, std::to_string(i + 1)));
  }
  for (std::size_t i = 0; i < slots.size(); ++i) {
    slots[i].keyCodeText = readEntry(keyCodeSection, std::to_string(i + 1));
  }
}

void SettingsFile::save(const std::array<KeySlot, 6>& slots, MainWindowPort& window) {
  for (std::size_t i = 0; i < slots.size(); ++i) {
    writeEntry(keyNameSection, std::to_string(i + 1), window.text(slots[i].keyBox));
  }
  for (std::size_t i = 0; i < slots.size(); ++i) {
    writeEntry(keyCodeSection, std::to_string(i + 1), slots[i].keyCodeText);
  }
}

Text SettingsFile::readEntry(const Text& section, const Text& entry) {
  if (section.empty() || entry.empty() || path.empty()) return Text();
  return store.readProfileString(section, entry, path);
}

void SettingsFile::writeEntry(const Text& section, const Text& entry, const Text& value) {
  store.writeProfileString(section, entry, profileValueToWrite(value), path);
}
