// key.ini against the real profile and file functions, each test in a folder of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "fakes/fake_main_window.h"
#include "settings/settings_file_win32.h"

namespace {

Text readBytes(const Text& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  Text bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

void writeBytes(const Text& path, const Text& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::size_t countOf(const Text& haystack, const Text& needle) {
  std::size_t count = 0;
  for (std::size_t at = haystack.find(needle); at != Text::npos; at = haystack.find(needle, at + 1)) ++count;
  return count;
}

class SettingsFileWin : public ::testing::Test {
 protected:
  Text folder;
  Text path;
  Win32ProfileStore store;
  FakeMainWindow window;
  std::array<KeySlot, 6> slots = makeDefaultSlots();

  void SetUp() override {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    folder = Text(temp) + "tavrik-settings-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    path = filePath(folder);
  }

  void TearDown() override {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const Text name = folder + "\\" + found.cFileName;
        if (found.cFileName[0] == '.') continue;
        SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(name.c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
  }

  SettingsFile file() { return SettingsFile{store, path}; }

  std::vector<Text> boxTexts() {
    std::vector<Text> texts;
    for (const KeySlot& slot : slots) texts.push_back(window.texts[slot.keyBox]);
    return texts;
  }
  std::vector<Text> codes() {
    std::vector<Text> texts;
    for (const KeySlot& slot : slots) texts.push_back(slot.keyCodeText);
    return texts;
  }
  void fillForSave(const std::vector<Text>& names, const std::vector<Text>& keyCodes) {
    for (std::size_t i = 0; i < 6; ++i) {
      window.texts[slots[i].keyBox] = names[i];
      slots[i].keyCodeText = keyCodes[i];
    }
  }
  void loadFresh() {
    window = FakeMainWindow();
    for (KeySlot& slot : slots) slot.keyCodeText = "stale";
    file().load(slots, window);
  }
};

const std::vector<Text> twelveEmpty(6, Text());

TEST_F(SettingsFileWin, AMissingFileIsCreatedWithTheExactDefaultBytesAndHidden) {
  file().ensureFile();
  EXPECT_EQ(readBytes(path), defaultContent());
  // Wine reports every regular file with the archive bit as well.
  EXPECT_EQ(GetFileAttributesA(path.c_str()) & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE),
            static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  loadFresh();
  EXPECT_EQ(boxTexts(), (std::vector<Text>{"小键盘8", "小键盘5", "小键盘2", "小键盘1", "小键盘4", "小键盘7"}));
  EXPECT_EQ(codes(), (std::vector<Text>{"104", "101", "98", "97", "100", "103"}));
}

TEST_F(SettingsFileWin, AHiddenFileIsFoundByTheDirectorySearchAndLeftAlone) {
  writeBytes(path, "[key]\r\n1=x\r\n");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  file().ensureFile();
  EXPECT_EQ(readBytes(path), "[key]\r\n1=x\r\n");
}

TEST_F(SettingsFileWin, AnExistingFileIsNeverRewrittenNorHidden) {
  struct Case {
    const char* content;
    DWORD attributes;
  };
  const Case cases[] = {
      {"", FILE_ATTRIBUTE_NORMAL},
      {"[keys]\r\n1=65\r\n", FILE_ATTRIBUTE_NORMAL},
      {"", FILE_ATTRIBUTE_READONLY},
  };
  for (const Case& c : cases) {
    writeBytes(path, c.content);
    SetFileAttributesA(path.c_str(), c.attributes);
    const DWORD before = GetFileAttributesA(path.c_str());
    file().ensureFile();
    EXPECT_EQ(readBytes(path), c.content);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), before) << c.content;
    EXPECT_FALSE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST_F(SettingsFileWin, AnEmptyFileLoadsTwelveEmptyTextsAndASaveWritesAllTwelveEntries) {
  writeBytes(path, "");
  loadFresh();
  EXPECT_EQ(boxTexts(), twelveEmpty);
  EXPECT_EQ(codes(), twelveEmpty);

  fillForSave({"A键", "", "小键盘2", "F1键", "", "ESC键"}, {"65", "", "98", "112", "", "27"});
  file().save(slots, window);
  const Text saved = readBytes(path);
  EXPECT_EQ(countOf(saved, "[key]\r\n"), 1u) << saved;
  EXPECT_EQ(countOf(saved, "[keys]\r\n"), 1u) << saved;
  EXPECT_EQ(countOf(saved, "=") , 12u) << saved;
  EXPECT_NE(saved.find("1=A键\r\n"), Text::npos) << saved;
  EXPECT_NE(saved.find("2=\r\n"), Text::npos) << "an empty box is kept as an empty entry: " << saved;
  EXPECT_LT(saved.find("[key]"), saved.find("[keys]"));

  loadFresh();
  EXPECT_EQ(boxTexts(), (std::vector<Text>{"A键", "", "小键盘2", "F1键", "", "ESC键"}));
  EXPECT_EQ(codes(), (std::vector<Text>{"65", "", "98", "112", "", "27"}));
}

TEST_F(SettingsFileWin, AFileWithOnlyKeysLoadsTheCodesAndEmptyBoxes) {
  writeBytes(path, "[keys]\r\n1=81\r\n2=abc\r\n3=98\r\n4=97\r\n5=100\r\n6=103\r\n");
  loadFresh();
  EXPECT_EQ(boxTexts(), twelveEmpty);
  EXPECT_EQ(codes(), (std::vector<Text>{"81", "abc", "98", "97", "100", "103"}));
}

TEST_F(SettingsFileWin, AValueTooLongForTheBufferLoadsAsItsFirst10239Bytes) {
  Text value;
  for (int i = 0; i < 20000; ++i) value += static_cast<char>('a' + i % 26);
  writeBytes(path, "[keys]\r\n1=" + value + "\r\n2=98\r\n");
  loadFresh();
  EXPECT_EQ(slots[0].keyCodeText.size(), 10239u);
  EXPECT_EQ(slots[0].keyCodeText, value.substr(0, 10239));
  EXPECT_EQ(slots[1].keyCodeText, "98");
}

TEST_F(SettingsFileWin, SectionNamesMatchInAnyLetterCaseAndASaveUpdatesThemInPlace) {
  writeBytes(path, "[KEY]\r\n1=Q键\r\n[Keys]\r\n1=81\r\n");
  loadFresh();
  EXPECT_EQ(window.texts[Control::编辑框1], "Q键");
  EXPECT_EQ(slots[0].keyCodeText, "81");

  fillForSave({"W键", "", "", "", "", ""}, {"87", "", "", "", "", ""});
  file().save(slots, window);
  const Text saved = readBytes(path);
  EXPECT_EQ(countOf(saved, "["), 2u) << "no second [key] or [keys]: " << saved;
  loadFresh();
  EXPECT_EQ(window.texts[Control::编辑框1], "W键");
  EXPECT_EQ(slots[0].keyCodeText, "87");
}

TEST_F(SettingsFileWin, ValuesLoseOuterBlanksAndEnclosingQuotes) {
  writeBytes(path,
             "[key]\r\n"
             "1=  小键盘8  \r\n"
             "2=\"A键\"\r\n"
             "3='B键'\r\n"
             "4=\" 键\"\r\n"
             "5=\"C键\r\n"
             "6=\t D键 \t\r\n"
             "[keys]\r\n"
             "1 = 104 \r\n");
  loadFresh();
  EXPECT_EQ(boxTexts(), (std::vector<Text>{"小键盘8", "A键", "B键", " 键", "\"C键", "D键"}));
  EXPECT_EQ(slots[0].keyCodeText, "104");
}

TEST_F(SettingsFileWin, OtherSectionsEntriesAndLinesSurviveASave) {
  writeBytes(path,
             "; written by hand\r\n"
             "[other]\r\n"
             "x=1\r\n"
             "[key]\r\n"
             "1=old\r\n"
             "7=keep\r\n"
             "[keys]\r\n"
             "1=11\r\n"
             "[last]\r\n"
             "y=2\r\n");
  fillForSave({"A键", "B键", "C键", "D键", "E键", "F键"}, {"65", "66", "67", "68", "69", "70"});
  file().save(slots, window);
  const Text saved = readBytes(path);
  EXPECT_NE(saved.find("; written by hand"), Text::npos) << saved;
  SettingsFile f = file();
  EXPECT_EQ(f.readEntry("other", "x"), "1");
  EXPECT_EQ(f.readEntry("key", "7"), "keep");
  EXPECT_EQ(f.readEntry("last", "y"), "2");
  EXPECT_EQ(f.readEntry("key", "1"), "A键");
  EXPECT_EQ(f.readEntry("keys", "6"), "70");
}

TEST_F(SettingsFileWin, TheSpaceKeysNameComesBackWithItsSpace) {
  fillForSave({" 键", "键 ", "A键", "\t键", "", "小键盘7"}, {"32", "32", "65", "9", "", "103"});
  file().save(slots, window);
  const Text saved = readBytes(path);
  EXPECT_NE(saved.find("1=\" 键\"\r\n"), Text::npos) << saved;
  EXPECT_NE(saved.find("3=A键\r\n"), Text::npos) << "other values are written unchanged: " << saved;
  loadFresh();
  EXPECT_EQ(boxTexts(), (std::vector<Text>{" 键", "键 ", "A键", "\t键", "", "小键盘7"}));
  EXPECT_EQ(codes(), (std::vector<Text>{"32", "32", "65", "9", "", "103"}));
}

TEST_F(SettingsFileWin, AReadOnlyFileLoadsAndItsSaveFailsSilently) {
  file().ensureFile();
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  // Wine running as root writes through the read-only attribute; a handle that shares reading
  // only refuses every writer, as Windows does for a read-only file.
  HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  loadFresh();
  EXPECT_EQ(window.texts[Control::编辑框1], "小键盘8");
  EXPECT_EQ(slots[5].keyCodeText, "103");
  fillForSave({"A键", "B键", "C键", "D键", "E键", "F键"}, {"65", "66", "67", "68", "69", "70"});
  file().save(slots, window);
  CloseHandle(reader);
  EXPECT_EQ(readBytes(path), defaultContent());
  loadFresh();
  EXPECT_EQ(window.texts[Control::编辑框1], "小键盘8") << "the failed save left nothing behind";
}

TEST_F(SettingsFileWin, AFolderThatCannotBeWrittenGivesEmptyBoxesAndNoCrash) {
  // A plain file where the folder should be: nothing can be created inside it.
  writeBytes(folder + "\\notafolder", "x");
  path = filePath(folder + "\\notafolder");
  file().ensureFile();
  loadFresh();
  EXPECT_EQ(boxTexts(), twelveEmpty);
  EXPECT_EQ(codes(), twelveEmpty);
  fillForSave({"A键", "B键", "C键", "D键", "E键", "F键"}, {"65", "66", "67", "68", "69", "70"});
  file().save(slots, window);
  EXPECT_EQ(readBytes(path), "<missing>");
  EXPECT_EQ(readBytes(folder + "\\notafolder"), "x");
}

TEST_F(SettingsFileWin, AFolderNameWhoseSecondByteIsABackslashKeepsItsFileInside) {
  // In code page 936 乗 is 81 5C.
  const Text named = folder + "\\乗";
  ASSERT_TRUE(CreateDirectoryA(named.c_str(), nullptr));
  path = filePath(runDirectory(named + "\\tavrik.exe", isAnsiLeadByte));
  EXPECT_EQ(path, named + "/key.ini");
  file().ensureFile();
  EXPECT_EQ(readBytes(named + "\\key.ini"), defaultContent());
  loadFresh();
  EXPECT_EQ(slots[0].keyCodeText, "104");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
  RemoveDirectoryA(named.c_str());
}

TEST(ProcessRunDirectory, IsTheFolderOfTheRunningExecutable) {
  char module[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  const Text& folder = processRunDirectory();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(Text(module).substr(0, folder.size() + 1), folder + "\\");
  EXPECT_EQ(Text(module).find('\\', folder.size() + 1), Text::npos);
  EXPECT_EQ(programSettingsFile().path, folder + "/key.ini");
}

}  // namespace
