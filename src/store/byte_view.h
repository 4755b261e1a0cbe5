#pragma once
// Little-endian field access and length-prefixed strings over raw bytes.
// Every fixed-layout record of the program is read and written through these,
// never by copying a host struct.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace qlx {

inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline int16_t GetI16(const uint8_t* p) { return static_cast<int16_t>(GetU16(p)); }
inline uint32_t GetU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline int32_t GetI32(const uint8_t* p) { return static_cast<int32_t>(GetU32(p)); }

inline void PutU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutI16(uint8_t* p, int16_t v) { PutU16(p, static_cast<uint16_t>(v)); }
inline void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void PutI32(uint8_t* p, int32_t v) { PutU32(p, static_cast<uint32_t>(v)); }

inline double GetF64(const uint8_t* p) {
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}
inline void PutF64(uint8_t* p, double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(bits >> (8 * i));
}

// string[N]: one length byte, then N character bytes. A length byte beyond
// the capacity (damaged or foreign file) reads as the capacity.
// The view lives as long as the bytes under it.
inline std::string_view PStringView(const uint8_t* p, size_t capacity) {
  size_t len = p[0];
  if (len > capacity) len = capacity;
  return std::string_view(reinterpret_cast<const char*>(p + 1), len);
}
inline std::string GetPString(const uint8_t* p, size_t capacity) { return std::string(PStringView(p, capacity)); }
// Writes at most `capacity` characters; the rest of the field is zeroed so
// records written by the program are byte-for-byte reproducible.
inline void PutPString(uint8_t* p, size_t capacity, std::string_view s) {
  size_t len = s.size() < capacity ? s.size() : capacity;
  p[0] = static_cast<uint8_t>(len);
  std::memcpy(p + 1, s.data(), len);
  std::memset(p + 1 + len, 0, capacity - len);
}

// Window and hook handles travel as 32-bit fields (significant bits on Win64).
inline uint32_t HandleToField(uintptr_t h) { return static_cast<uint32_t>(h); }
inline uintptr_t FieldToHandle(uint32_t v) {
  return static_cast<uintptr_t>(static_cast<intptr_t>(static_cast<int32_t>(v)));
}

}  // namespace qlx
