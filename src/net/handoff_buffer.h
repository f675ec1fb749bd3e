#pragma once
// How a fetch's request and its result travel between the user-interface thread and the worker:
// texts as their bytes and one zero byte, byte blocks as a 32-bit little-endian length and the
// bytes, fields one after another, a record known by its first text alone.
//
// The storage is allocated with malloc, not operator new: the program's new handler ends the
// process, and a worker that runs out of memory for a huge body must fail its fetch instead.
#include <cstddef>
#include <cstdint>

#include "app/text.h"

// Bytes that grow with amortised doubling and never beyond a limit; a failed growth leaves the
// bytes as they were and reports false.
class GrowableBytes {
 public:
  explicit GrowableBytes(std::size_t limit = static_cast<std::size_t>(-1)) : limit_(limit) {}
  ~GrowableBytes();
  GrowableBytes(const GrowableBytes&) = delete;
  GrowableBytes& operator=(const GrowableBytes&) = delete;

  bool append(const void* bytes, std::size_t count);
  // Room for count bytes in all without a further allocation.
  bool reserve(std::size_t count);
  void clear() { size_ = 0; }
  const std::uint8_t* data() const { return data_; }
  std::uint8_t* data() { return data_; }
  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }

 private:
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  std::size_t limit_;
};

class HandoffBuffer {
 public:
  bool writeText(const Text& text);
  bool writeBlock(const void* bytes, std::size_t count);
  bool writeBlock(const Bytes& block) { return writeBlock(block.data(), block.size()); }

  // Up to and including the next zero byte (or to the end); false when no byte is left.
  bool readText(Text& text);
  // False when the length or the bytes are incomplete; the position then stays.
  bool readBlock(Bytes& block);

  void rewind() { position_ = 0; }
  // Back to the start with nothing in it.
  void erase() {
    bytes_.clear();
    position_ = 0;
  }
  std::size_t size() const { return bytes_.size(); }
  std::size_t position() const { return position_; }
  void seek(std::size_t position) { position_ = position < bytes_.size() ? position : bytes_.size(); }
  // For tests that build damaged records by hand.
  bool writeRaw(const void* bytes, std::size_t count) { return bytes_.append(bytes, count); }

 private:
  bool writeAt(const void* bytes, std::size_t count);
  GrowableBytes bytes_;
  std::size_t position_ = 0;
};

// Written by the caller, read by the worker.
struct FetchRequest {
  Text marker;
  Text url;
  Text method;
  Text proxy;
  Text userName;
  Text password;
  Text extraHeaders;
  Text body;
};

// Written by the worker, read back by the caller.
struct FetchResult {
  Text marker;
  Text rawHeaders;
  Bytes body;
};

extern const char* const requestMarker;  // "Pellory"
extern const char* const resultMarker;   // "Pellory_OK"

// Writes at the current position. False when memory ran out.
bool writeFetchRequest(HandoffBuffer& buffer, const FetchRequest& request);
bool writeFetchResult(HandoffBuffer& buffer, const Text& rawHeaders, const void* body, std::size_t bodySize);

// Reads the fields in order from the current position. At the first field that cannot be read
// the read stops: that field and the later ones keep their values, the position goes back to
// where the read began, and the result is false.
bool readFetchRequest(HandoffBuffer& buffer, FetchRequest& request);
bool readFetchResult(HandoffBuffer& buffer, FetchResult& result);
