#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_main_window.h"
#include "fakes/fake_profile_store.h"
#include "settings/settings_file.h"

namespace {

bool noLeadBytes(unsigned char) { return false; }

struct FolderCase {
  const char* modulePath;
  const char* folder;
};

TEST(RunDirectory, IsThePathUpToItsLastBackslash) {
  const FolderCase cases[] = {
      {"C:\\Games\\Tool\\x.exe", "C:\\Games\\Tool"},
      {"C:\\x.exe", "C:"},
      {"\\\\server\\share\\x.exe", "\\\\server\\share"},
      {"x.exe", ""},
      {"", ""},
      // 魔兽 is C4 A7 CA DE: no trail byte 0x5C, nothing special.
      {"D:\\魔兽\\x.exe", "D:\\魔兽"},
  };
  for (const FolderCase& c : cases) EXPECT_EQ(runDirectory(c.modulePath), c.folder) << c.modulePath;
}

TEST(RunDirectory, NeverCutsADoubleByteCharacterWhoseSecondByteIs5C) {
  // In GBK 乗 is 81 5C and 盶 is B1 5C: their second byte is a backslash.
  EXPECT_EQ(hexOf("乗盶"), "81 5C B1 5C");
  EXPECT_EQ(runDirectory("C:\\Games\\乗\\x.exe"), "C:\\Games\\乗");
  EXPECT_EQ(runDirectory("C:\\盶\\盶.exe"), "C:\\盶");
  EXPECT_EQ(runDirectory("C:\\盶.exe"), "C:");
  // Read byte by byte, the trail byte would be taken for the separator.
  EXPECT_EQ(runDirectory("C:\\盶.exe", noLeadBytes), "C:\\\xB1");
  EXPECT_EQ(filePath(runDirectory("D:\\魔兽乗\\x.exe")), "D:\\魔兽乗/key.ini");
}

TEST(RunDirectory, ALeadByteAtTheVeryEndDoesNotSwallowWhatIsNotThere) {
  EXPECT_EQ(runDirectory("C:\\a\\\x81"), "C:\\a");
}

TEST(RunDirectory, GbkLeadBytesAre81ToFE) {
  EXPECT_FALSE(isGbkLeadByte(0x5C));
  EXPECT_FALSE(isGbkLeadByte(0x80));
  EXPECT_TRUE(isGbkLeadByte(0x81));
  EXPECT_TRUE(isGbkLeadByte(0xFE));
  EXPECT_FALSE(isGbkLeadByte(0xFF));
}

TEST(FilePath, JoinsTheFolderAndKeyIniWithAForwardSlash) {
  EXPECT_EQ(filePath("C:\\Games\\Tool"), "C:\\Games\\Tool/key.ini");
  EXPECT_EQ(filePath(runDirectory("C:\\x.exe")), "C:/key.ini");
}

TEST(DefaultContent, IsTheFourteenLinesOfKeypadKeysIn121Bytes) {
  const Text& content = defaultContent();
  EXPECT_EQ(content.size(), 121u);
  EXPECT_EQ(hexOf(content.substr(7, 11)), "31 3D D0 A1 BC FC C5 CC 38 0D 0A");
  EXPECT_EQ(content,
            "[key]\r\n1=\xD0\xA1\xBC\xFC\xC5\xCC" "8\r\n2=\xD0\xA1\xBC\xFC\xC5\xCC" "5\r\n3=\xD0\xA1\xBC\xFC\xC5\xCC"
            "2\r\n4=\xD0\xA1\xBC\xFC\xC5\xCC" "1\r\n5=\xD0\xA1\xBC\xFC\xC5\xCC" "4\r\n6=\xD0\xA1\xBC\xFC\xC5\xCC"
            "7\r\n[keys]\r\n1=104\r\n2=101\r\n3=98\r\n4=97\r\n5=100\r\n6=103\r\n");
}

struct ValueCase {
  const char* value;
  const char* written;
};

TEST(ProfileValue, OnlyAValueWithABlankAtEitherEndIsQuoted) {
  const ValueCase cases[] = {
      {"", ""},
      {"104", "104"},
      {"小键盘8", "小键盘8"},
      {"A键", "A键"},
      {" 键", "\" 键\""},
      {"键 ", "\"键 \""},
      {"\t键", "\"\t键\""},
      {" ", "\" \""},
      {"a b", "a b"},
      {"\"quoted\"", "\"quoted\""},
      {" \"x\" ", "\" \"x\" \""},
  };
  for (const ValueCase& c : cases) EXPECT_EQ(profileValueToWrite(c.value), c.written) << '[' << c.value << ']';
}

class Settings : public ::testing::Test {
 protected:
  FakeProfileStore store;
  FakeMainWindow window;
  std::array<KeySlot, 6> slots = makeDefaultSlots();
  SettingsFile file{store, "C:\\T/key.ini"};
};

TEST_F(Settings, AMissingFileIsCreatedWithTheDefaultsAndThenHidden) {
  file.ensureFile();
  EXPECT_EQ(store.calls, (std::vector<std::string>{"exists C:\\T/key.ini", "create C:\\T/key.ini", "hide C:\\T/key.ini"}));
  EXPECT_EQ(store.files["C:\\T/key.ini"], defaultContent());
}

TEST_F(Settings, AnExistingFileIsLeftAlone) {
  store.files["C:\\T/key.ini"] = "";
  file.ensureFile();
  EXPECT_EQ(store.calls, (std::vector<std::string>{"exists C:\\T/key.ini"}));
  EXPECT_EQ(store.files["C:\\T/key.ini"], "");
}

TEST_F(Settings, LoadPutsNamesIntoTheBoxesThenCodesIntoTheSlots) {
  for (int n = 1; n <= 6; ++n) {
    store.entries[{"key", std::to_string(n)}] = "name" + std::to_string(n);
    store.entries[{"keys", std::to_string(n)}] = std::to_string(100 + n);
  }
  file.load(slots, window);
  std::vector<std::string> expected;
  for (int n = 1; n <= 6; ++n) expected.push_back("read key/" + std::to_string(n) + " C:\\T/key.ini");
  for (int n = 1; n <= 6; ++n) expected.push_back("read keys/" + std::to_string(n) + " C:\\T/key.ini");
  EXPECT_EQ(store.calls, expected);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"setText 编辑框1", "setText 编辑框2", "setText 编辑框3",
                                                    "setText 编辑框4", "setText 编辑框5", "setText 编辑框6"}));
  for (int n = 1; n <= 6; ++n) {
    EXPECT_EQ(window.texts[slots[n - 1].keyBox], "name" + std::to_string(n));
    EXPECT_EQ(slots[n - 1].keyCodeText, std::to_string(100 + n));
  }
}

TEST_F(Settings, MissingEntriesEmptyTheBoxesAndSlots) {
  for (KeySlot& slot : slots) slot.keyCodeText = "65";
  store.entries[{"keys", "2"}] = "abc";
  file.load(slots, window);
  for (int n = 1; n <= 6; ++n) EXPECT_EQ(window.texts[slots[n - 1].keyBox], "") << n;
  EXPECT_EQ(slots[0].keyCodeText, "");
  EXPECT_EQ(slots[1].keyCodeText, "abc");
}

TEST_F(Settings, SaveWritesBoxTextsThenCodesEmptyAsEmptyAndQuotesOuterBlanks) {
  window.texts[Control::编辑框1] = " 键";
  window.texts[Control::编辑框2] = "";
  window.texts[Control::编辑框3] = "A键";
  window.texts[Control::编辑框4] = "小键盘1";
  window.texts[Control::编辑框5] = "小键盘4";
  window.texts[Control::编辑框6] = "小键盘7";
  slots[0].keyCodeText = "32";
  slots[2].keyCodeText = "65";
  file.save(slots, window);
  EXPECT_EQ(store.calls, (std::vector<std::string>{
                             "write key/1=\" 键\" C:\\T/key.ini", "write key/2= C:\\T/key.ini",
                             "write key/3=A键 C:\\T/key.ini", "write key/4=小键盘1 C:\\T/key.ini",
                             "write key/5=小键盘4 C:\\T/key.ini", "write key/6=小键盘7 C:\\T/key.ini",
                             "write keys/1=32 C:\\T/key.ini", "write keys/2= C:\\T/key.ini",
                             "write keys/3=65 C:\\T/key.ini", "write keys/4= C:\\T/key.ini",
                             "write keys/5= C:\\T/key.ini", "write keys/6= C:\\T/key.ini"}));
  EXPECT_TRUE(window.calls.empty());
}

TEST_F(Settings, NothingIsAskedOfTheSystemForAnEmptySectionEntryOrPath) {
  EXPECT_EQ(file.readEntry("", "1"), "");
  EXPECT_EQ(file.readEntry("key", ""), "");
  SettingsFile nowhere{store, ""};
  EXPECT_EQ(nowhere.readEntry("key", "1"), "");
  EXPECT_TRUE(store.calls.empty());
}

}  // namespace
