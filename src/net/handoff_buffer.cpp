#include "net/handoff_buffer.h"

#include <cstdlib>
#include <cstring>

const char* const requestMarker = "Pellory";
const char* const resultMarker = "Pellory_OK";

GrowableBytes::~GrowableBytes() { std::free(data_); }

bool GrowableBytes::reserve(std::size_t count) {
  if (count <= capacity_) return true;
  if (count > limit_) return false;
  void* grown = std::realloc(data_, count);
  if (!grown) return false;
  data_ = static_cast<std::uint8_t*>(grown);
  capacity_ = count;
  return true;
}

bool GrowableBytes::append(const void* bytes, std::size_t count) {
  if (count == 0) return true;
  if (count > limit_ || size_ > limit_ - count) return false;
  const std::size_t needed = size_ + count;
  if (needed > capacity_) {
    // Doubling keeps the copying linear in the final size; 1024 bytes is the smallest step.
    std::size_t wanted = capacity_ < 1024 ? 1024 : capacity_;
    while (wanted < needed) wanted = wanted > limit_ / 2 ? limit_ : wanted * 2;
    if (wanted > limit_) wanted = limit_;
    if (!reserve(wanted) && !reserve(needed)) return false;
  }
  std::memcpy(data_ + size_, bytes, count);
  size_ += count;
  return true;
}

bool HandoffBuffer::writeAt(const void* bytes, std::size_t count) {
  // Writing inside what is there overwrites; past its end the buffer grows.
  const std::size_t inside = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
  const std::size_t over = count < inside ? count : inside;
  if (over) std::memcpy(bytes_.data() + position_, bytes, over);
  if (!bytes_.append(static_cast<const std::uint8_t*>(bytes) + over, count - over)) return false;
  position_ += count;
  return true;
}

bool HandoffBuffer::writeText(const Text& text) {
  const char zero = 0;
  return writeAt(text.data(), text.size()) && writeAt(&zero, 1);
}

bool HandoffBuffer::writeBlock(const void* bytes, std::size_t count) {
  if (count > 0xFFFFFFFFu || count > static_cast<std::size_t>(-1) - 4 - position_) return false;
  const std::uint32_t length = static_cast<std::uint32_t>(count);
  const std::uint8_t prefix[4] = {static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
                                  static_cast<std::uint8_t>(length >> 16), static_cast<std::uint8_t>(length >> 24)};
  // Room for the whole block at once, so a huge body either fits or leaves the buffer unchanged.
  if (!bytes_.reserve(position_ + 4 + count)) return false;
  return writeAt(prefix, 4) && writeAt(bytes, count);
}

bool HandoffBuffer::readText(Text& text) {
  if (position_ >= bytes_.size()) return false;
  const char* start = reinterpret_cast<const char*>(bytes_.data()) + position_;
  const std::size_t left = bytes_.size() - position_;
  const void* zero = std::memchr(start, 0, left);
  const std::size_t length = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - start) : left;
  text.assign(start, length);
  position_ += zero ? length + 1 : length;
  return true;
}

bool HandoffBuffer::readBlock(Bytes& block) {
  const std::size_t left = bytes_.size() - position_;
  if (left < 4) return false;
  const std::uint8_t* p = bytes_.data() + position_;
  const std::uint32_t length = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                               static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
  if (left - 4 < length) return false;
  block.assign(p + 4, p + 4 + length);
  position_ += 4 + static_cast<std::size_t>(length);
  return true;
}

bool writeFetchRequest(HandoffBuffer& buffer, const FetchRequest& request) {
  return buffer.writeText(request.marker) && buffer.writeText(request.url) && buffer.writeText(request.method) &&
         buffer.writeText(request.proxy) && buffer.writeText(request.userName) && buffer.writeText(request.password) &&
         buffer.writeText(request.extraHeaders) && buffer.writeText(request.body);
}

bool writeFetchResult(HandoffBuffer& buffer, const Text& rawHeaders, const void* body, std::size_t bodySize) {
  return buffer.writeText(resultMarker) && buffer.writeText(rawHeaders) && buffer.writeBlock(body, bodySize);
}

bool readFetchRequest(HandoffBuffer& buffer, FetchRequest& request) {
  const std::size_t start = buffer.position();
  Text* const fields[] = {&request.marker,   &request.url,      &request.method,       &request.proxy,
                          &request.userName, &request.password, &request.extraHeaders, &request.body};
  for (Text* field : fields) {
    if (!buffer.readText(*field)) {
      buffer.seek(start);
      return false;
    }
  }
  return true;
}

bool readFetchResult(HandoffBuffer& buffer, FetchResult& result) {
  const std::size_t start = buffer.position();
  if (buffer.readText(result.marker) && buffer.readText(result.rawHeaders) && buffer.readBlock(result.body)) return true;
  buffer.seek(start);
  return false;
}
