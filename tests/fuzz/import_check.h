#pragma once
// What the three import fuzzers check of every list they read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/import_export.h"
#include "store/shared_blocks.h"

namespace qlx::fuzz {

inline void Require(bool ok) {
  if (!ok) std::abort();
}

inline void CheckImport(ImportFormat format, const uint8_t* data, size_t size) {
  if (size > 200000) return;
  const ImportList list = ReadImportBytes(format, std::span<const uint8_t>(data, size));
  const size_t record = format == ImportFormat::Own ? mr::kSize : format == ImportFormat::Brindle ? br::kSize : sw::kSize;
  // An own file gives its whole records and names a partial tail; the others refuse a wrong size.
  const bool partial = size % record != 0;
  Require(list.wrong_size == (partial && format != ImportFormat::Own));
  Require(list.partial_tail == (partial && format == ImportFormat::Own));
  Require(list.items.size() + static_cast<size_t>(list.damaged) <= size / record);
  for (const ImportItem& item : list.items) {
    const MacroRecord& r = item.record;
    Require(r.Scope() >= kScopeGlobal && r.Scope() <= kScopePopupMenu);
    Require(r.Code() < kHotKeyCodes || r.Code() == kTimedCode || r.Code() == kSnapwordCode);
    Require(r.data()[mr::kNickname] <= mr::kNicknameCapacity);
    Require(r.data()[mr::kScopeText] <= mr::kScopeTextCapacity);
    Require(r.data()[mr::kSnapword] <= mr::kSnapwordCapacity);
    Require(r.data()[mr::kIcon] <= mr::kIconCapacity);
    bool terminated = false;
    for (size_t i = 0; i < mr::kTextBytes && !terminated; ++i) terminated = r.data()[mr::kText + i] == 0;
    Require(terminated);
    Require(item.source_number >= 1 && static_cast<size_t>(item.source_number) <= size / record);
  }
}

}  // namespace qlx::fuzz
