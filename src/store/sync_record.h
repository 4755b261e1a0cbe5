#pragma once
// The sync file's one record: the change counter, the lock state and the
// lock time that copies sharing a macro file over a network read and write.
#include <array>
#include <cstddef>
#include <cstdint>

#include "store/byte_view.h"

namespace qlx {

namespace sy {
inline constexpr size_t kCounter = 0;    // int32: raised by every change of the macro file
inline constexpr size_t kLockState = 4;  // int16: 1 locked, 2 free
inline constexpr size_t kLockTime = 6;   // double: days since 30 December 1899
inline constexpr size_t kSize = 14;
static_assert(kCounter + 4 == kLockState);
static_assert(kLockState + 2 == kLockTime);
static_assert(kLockTime + 8 == kSize);
}  // namespace sy

inline constexpr int16_t kSyncLocked = 1;
inline constexpr int16_t kSyncFree = 2;

class SyncRecord {
 public:
  static constexpr size_t kSize = sy::kSize;
  using Bytes = std::array<uint8_t, kSize>;

  SyncRecord() { bytes_.fill(0); }
  explicit SyncRecord(const Bytes& bytes) : bytes_(bytes) {}

  const Bytes& bytes() const { return bytes_; }

  int32_t Counter() const { return GetI32(&bytes_[sy::kCounter]); }
  void SetCounter(int32_t v) { PutI32(&bytes_[sy::kCounter], v); }
  int16_t LockState() const { return GetI16(&bytes_[sy::kLockState]); }
  void SetLockState(int16_t v) { PutI16(&bytes_[sy::kLockState], v); }
  double LockTime() const { return GetF64(&bytes_[sy::kLockTime]); }
  void SetLockTime(double v) { PutF64(&bytes_[sy::kLockTime], v); }

 private:
  Bytes bytes_;
};
static_assert(sizeof(SyncRecord::Bytes) == sy::kSize);

}  // namespace qlx
