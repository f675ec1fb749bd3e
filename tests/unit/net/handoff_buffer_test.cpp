#include <gtest/gtest.h>

#include <string>

#include "net/handoff_buffer.h"

namespace {

std::string contents(HandoffBuffer& buffer) {
  // Every byte, read back as one text per zero byte.
  std::string all;
  buffer.rewind();
  Text piece;
  while (buffer.readText(piece)) all += piece + '|';
  return all;
}

TEST(HandoffBuffer, RequestIsEightZeroEndedTexts) {
  HandoffBuffer buffer;
  ASSERT_TRUE(writeFetchRequest(buffer, {"Pellory", "http://h/x", "GET", "", "", "", "", ""}));
  EXPECT_EQ(buffer.size(), 8u + 11u + 4u + 5u);
  EXPECT_EQ(contents(buffer), "Pellory|http://h/x|GET||||||");
}

TEST(HandoffBuffer, ResultIsTwoTextsAndALengthPrefixedBlock) {
  HandoffBuffer buffer;
  const Bytes body = {'a', 0, 'c'};
  ASSERT_TRUE(writeFetchResult(buffer, "H", body.data(), body.size()));
  buffer.rewind();
  Text marker, headers;
  ASSERT_TRUE(buffer.readText(marker));
  ASSERT_TRUE(buffer.readText(headers));
  EXPECT_EQ(marker, "Pellory_OK");
  EXPECT_EQ(headers, "H");
  // The length, little-endian, then the bytes.
  Text rest;
  ASSERT_TRUE(buffer.readText(rest));
  EXPECT_EQ(rest, std::string("\x03", 1));
  buffer.rewind();
  FetchResult result;
  ASSERT_TRUE(readFetchResult(buffer, result));
  EXPECT_EQ(result.body, body);
}

TEST(HandoffBuffer, RoundTripsBothRecords) {
  HandoffBuffer buffer;
  const FetchRequest sent{"Pellory", "u", "POST", "p:1", "user", "pw", "X: y\r\n", "a=1"};
  ASSERT_TRUE(writeFetchRequest(buffer, sent));
  buffer.rewind();
  FetchRequest got;
  ASSERT_TRUE(readFetchRequest(buffer, got));
  EXPECT_EQ(got.url, "u");
  EXPECT_EQ(got.method, "POST");
  EXPECT_EQ(got.proxy, "p:1");
  EXPECT_EQ(got.userName, "user");
  EXPECT_EQ(got.password, "pw");
  EXPECT_EQ(got.extraHeaders, "X: y\r\n");
  EXPECT_EQ(got.body, "a=1");
  EXPECT_EQ(buffer.position(), buffer.size());

  HandoffBuffer empty;
  ASSERT_TRUE(writeFetchResult(empty, "", nullptr, 0));
  empty.rewind();
  FetchResult result;
  result.body = {9};
  ASSERT_TRUE(readFetchResult(empty, result));
  EXPECT_EQ(result.marker, "Pellory_OK");
  EXPECT_TRUE(result.body.empty());
}

TEST(HandoffBuffer, TextCutShortIsWhatWasThereAndThenNothingIsLeft) {
  HandoffBuffer buffer;
  buffer.writeRaw("abc", 3);
  buffer.rewind();
  Text text = "old";
  EXPECT_TRUE(buffer.readText(text));
  EXPECT_EQ(text, "abc");
  text = "kept";
  EXPECT_FALSE(buffer.readText(text));
  EXPECT_EQ(text, "kept");

  HandoffBuffer none;
  EXPECT_FALSE(none.readText(text));
}

TEST(HandoffBuffer, BlockCutShortFailsAndKeepsThePosition) {
  const struct {
    const char* name;
    std::string raw;
  } cases[] = {
      {"length only partly there", std::string("\x05\x00", 2)},
      {"fewer bytes than the length", std::string("\x05\x00\x00\x00" "abc", 7)},
      {"nothing", std::string()},
  };
  for (const auto& c : cases) {
    HandoffBuffer buffer;
    buffer.writeRaw(c.raw.data(), c.raw.size());
    buffer.rewind();
    Bytes block = {7};
    EXPECT_FALSE(buffer.readBlock(block)) << c.name;
    EXPECT_EQ(block, Bytes{7}) << c.name;
    EXPECT_EQ(buffer.position(), 0u) << c.name;
  }
}

TEST(HandoffBuffer, RecordReadStopsAtTheFirstFailingField) {
  HandoffBuffer buffer;
  const std::string raw("Pellory_OK\0headers\0\x09\x00\x00\x00" "abc", 26);
  buffer.writeRaw(raw.data(), raw.size());
  buffer.rewind();
  FetchResult result;
  result.body = {1, 2};
  EXPECT_FALSE(readFetchResult(buffer, result));
  // Fields before the failing one were read; the failing one keeps its value.
  EXPECT_EQ(result.marker, "Pellory_OK");
  EXPECT_EQ(result.rawHeaders, "headers");
  EXPECT_EQ(result.body, (Bytes{1, 2}));
  EXPECT_EQ(buffer.position(), 0u);

  HandoffBuffer shortRequest;
  shortRequest.writeRaw("Pellory\0url\0", 12);
  shortRequest.rewind();
  FetchRequest request;
  EXPECT_FALSE(readFetchRequest(shortRequest, request));
  EXPECT_EQ(request.marker, "Pellory");
  EXPECT_EQ(request.url, "url");
  EXPECT_EQ(request.method, "");
  EXPECT_EQ(shortRequest.position(), 0u);
}

TEST(HandoffBuffer, EraseEmptiesAndWritesAtThePositionOverwrite) {
  HandoffBuffer buffer;
  writeFetchRequest(buffer, {"Pellory", "u", "", "", "", "", "", ""});
  buffer.erase();
  EXPECT_EQ(buffer.size(), 0u);
  Text text;
  EXPECT_FALSE(buffer.readText(text));

  buffer.writeText("abcdef");
  buffer.rewind();
  buffer.writeText("xy");
  buffer.rewind();
  ASSERT_TRUE(buffer.readText(text));
  EXPECT_EQ(text, "xy");
  ASSERT_TRUE(buffer.readText(text));
  EXPECT_EQ(text, "def");
}

TEST(GrowableBytes, GrowsByDoublingAndStopsAtItsLimit) {
  GrowableBytes bytes(5000);
  const char one = 'x';
  std::size_t growths = 0, capacity = 0;
  for (int i = 0; i < 4096; ++i) {
    ASSERT_TRUE(bytes.append(&one, 1));
    if (bytes.capacity() != capacity) ++growths, capacity = bytes.capacity();
  }
  EXPECT_EQ(growths, 3u);  // 1024, 2048, 4096
  // Beyond the limit the append fails and leaves the bytes as they were.
  const std::string more(1000, 'y');
  EXPECT_FALSE(bytes.append(more.data(), more.size()));
  EXPECT_EQ(bytes.size(), 4096u);
  EXPECT_TRUE(bytes.append(more.data(), 904));
  EXPECT_EQ(bytes.size(), 5000u);
  EXPECT_FALSE(bytes.append(&one, 1));
}

TEST(HandoffBuffer, AResultTooLargeForTheBufferFailsCleanly) {
  HandoffBuffer buffer;
  // A length that cannot be reserved (beyond any address space) leaves the buffer as it was.
  EXPECT_FALSE(buffer.writeBlock("x", static_cast<std::size_t>(-8)));
  EXPECT_EQ(buffer.size(), 0u);
}

}  // namespace
