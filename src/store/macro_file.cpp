#include "store/macro_file.h"

#include <memory>

namespace qlx {

namespace {

constexpr int64_t kRecordSize = static_cast<int64_t>(mr::kSize);

using File = std::unique_ptr<IFile>;

void SeekTo(IFile& f, int64_t offset, const std::string& name) {
  if (!f.Seek(offset)) throw StoreIoError("Seek error", name);
}

int64_t SizeOf(IFile& f, const std::string& name) {
  const int64_t size = f.Size();
  if (size < 0) throw StoreIoError("Cannot determine the file size", name);
  return size;
}

void ReadBytes(IFile& f, uint8_t* p, size_t n, const std::string& name) {
  if (f.Read(p, n) != n) throw StoreIoError(f.AtEnd() ? "Read beyond end of file" : "Read error", name);
}

void WriteBytes(IFile& f, const uint8_t* p, size_t n, const std::string& name) {
  if (f.Write(p, n) != n) throw StoreIoError("Write error", name);
}

// Closes a file that was written to; a failing flush is a lost write.
void CloseWritten(File& f, const std::string& name) {
  const File closing = std::move(f);
  if (!closing->Close()) throw StoreIoError("Write error", name);
}

// Removes a half-written temporary file unless the replace took it.
class TempFileGuard {
 public:
  TempFileGuard(IFileSystem& files, std::string name) : files_(files), name_(std::move(name)) {}
  ~TempFileGuard() {
    if (armed_) files_.Remove(name_);
  }
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;
  void Arm() { armed_ = true; }
  void Commit() { armed_ = false; }

 private:
  IFileSystem& files_;
  std::string name_;
  bool armed_ = false;
};

int64_t RecordOffset(int64_t n) { return (n - 1) * kRecordSize; }

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool EndsWithNoCase(std::string_view s, std::string_view upper_suffix) {
  return s.size() >= upper_suffix.size() &&
         UpperAscii(s.substr(s.size() - upper_suffix.size())) == upper_suffix;
}

}  // namespace

LoadResult MacroFile::Load() {
  LoadResult result;
  ActivationBlock& block = tables_.block;
  block.SetMacroCount(0);

  File f = files_.Open(name_, FileMode::Read);
  if (!f) {
    // Created when missing; one that exists but refused to be read is never
    // emptied.
    File created = files_.Open(name_, FileMode::CreateOrKeep);
    if (!created) {
      boxes_.Show(kErrorCaption, kNewFileFailedText);
      return result;
    }
    CloseWritten(created, name_);
  } else {
    const int64_t size = SizeOf(*f, name_);
    result.records_in_file = size / kRecordSize;
    result.partial_tail = size % kRecordSize != 0;
    result.truncated = result.records_in_file > kMaxMacros;
    const int to_read = static_cast<int>(result.truncated ? kMaxMacros : result.records_in_file);
    SeekTo(*f, 0, name_);
    MacroRecord record;
    for (int n = 1; n <= to_read; ++n) {
      ReadBytes(*f, record.data(), MacroRecord::kSize, name_);
      block.SetMacroCount(n);
      FillFromRecord(n, record, tables_);
    }
  }
  result.opened = true;
  f.reset();

  EnsureSystemMacros(result);
  result.count = block.ClampedCount();
  return result;
}

void MacroFile::EnsureSystemMacros(LoadResult& result) {
  ActivationBlock& block = tables_.block;
  int count = block.ClampedCount();
  std::array<bool, 5> present{};
  for (int n = 1; n <= count; ++n) {
    int digit = SystemMacroDigit(block.Scope(n), block.ScopeTextView(n));
    if (digit == 0) continue;
    present[static_cast<size_t>(digit)] = true;
    tables_.names.SetNickname(n, SystemMacroNickname(digit));
  }
  for (const SystemMacro& sm : kSystemMacros) {
    const int digit = sm.digit - '0';
    if (present[static_cast<size_t>(digit)]) continue;
    // A full table, or records on disk beyond the tables, leave no place
    // where the new record would be both listed and harmless.
    if (count >= kMaxMacros || result.truncated) {
      result.system_macros_complete = false;
      return;
    }
    MacroRecord record = SystemMacroRecord(sm);
    record.SetLastModified(clock_.Now());

    block.SetMacroCount(count + 1);
    bool written = false;
    try {
      written = WriteRecord(-1, record);
    } catch (...) {
      block.SetMacroCount(count);
      throw;
    }
    if (!written) {
      // One message is enough; the next load tries again.
      block.SetMacroCount(count);
      result.system_macros_complete = false;
      return;
    }
    ++count;
    ++result.system_macros_added;
  }
}

bool MacroFile::WriteRecord(int n, const MacroRecord& record) {
  File f = files_.Open(name_, FileMode::ReadWrite);
  if (!f) {
    boxes_.Show(kErrorCaption, kSavingFailedText);
    return false;
  }
  const int64_t whole = SizeOf(*f, name_) / kRecordSize;
  int target = n;
  bool fits;
  if (n == -1) {
    // The new macro goes right behind the records the tables hold; a partial
    // record there is overwritten whole, since it is shorter than a record.
    target = tables_.block.MacroCount();
    fits = target >= 1 && target <= kMaxMacros && whole == target - 1;
  } else {
    // Never leave a gap of zero bytes, never touch records past 500.
    fits = n >= 1 && n <= kMaxMacros && n <= whole + 1;
  }
  if (!fits) {
    boxes_.Show(kErrorCaption, kSavingFailedText);
    return false;
  }
  MacroRecord out = record;
  out.ZeroReserved();
  SeekTo(*f, RecordOffset(target), name_);
  WriteBytes(*f, out.data(), MacroRecord::kSize, name_);
  CloseWritten(f, name_);
  FillFromRecord(target, out, tables_);
  return true;
}

bool MacroFile::ReadRecord(int n, MacroRecord& record) const {
  File f = files_.Open(name_, FileMode::Read);
  if (!f) return false;
  const int64_t whole = SizeOf(*f, name_) / kRecordSize;
  if (n < 1 || n > whole) throw StoreIoError("Read beyond end of file", name_);
  MacroRecord read;
  SeekTo(*f, RecordOffset(n), name_);
  ReadBytes(*f, read.data(), MacroRecord::kSize, name_);
  record = read;
  return true;
}

bool MacroFile::DeleteRecord(int n) {
  const std::string temp = TempName();
  File old = files_.Open(name_, FileMode::ReadWrite);
  if (!old) return false;
  const int64_t whole = SizeOf(*old, name_) / kRecordSize;
  if (n < 1 || n > whole) return false;

  // Declared before `fresh` so the file is closed before it is removed; armed
  // only once the file is ours, so nothing found under that name is removed.
  TempFileGuard guard(files_, temp);
  File fresh = files_.Open(temp, FileMode::Create);
  if (!fresh) throw StoreIoError("Cannot create the temporary file", temp);
  guard.Arm();
  SeekTo(*old, 0, name_);
  MacroRecord::Bytes buffer;
  for (int64_t k = 1; k <= whole; ++k) {
    ReadBytes(*old, buffer.data(), buffer.size(), name_);
    if (k != n) WriteBytes(*fresh, buffer.data(), buffer.size(), temp);
  }
  // The new file is on the disk before it takes the old one's place, so a
  // crash right after the replace cannot leave an empty or torn file.
  if (!fresh->Commit()) throw StoreIoError("Write error", temp);
  CloseWritten(fresh, temp);
  old.reset();  // Windows cannot replace a file that is open
  if (!files_.Replace(temp, name_)) throw StoreIoError("Cannot replace the file", name_);
  guard.Commit();
  return true;
}

bool MacroFile::SetActive(int n, bool flag) {
  File f = files_.Open(name_, FileMode::ReadWrite);
  if (!f) return false;
  const int64_t size = SizeOf(*f, name_);
  if (size == 0) return false;
  if (n < 1 || n > size / kRecordSize) throw StoreIoError("Read beyond end of file", name_);
  const uint8_t byte = flag ? 1 : 0;
  SeekTo(*f, RecordOffset(n) + static_cast<int64_t>(mr::kActive), name_);
  WriteBytes(*f, &byte, 1, name_);
  CloseWritten(f, name_);
  tables_.block.SetActive(n, flag);
  return true;
}

bool MacroFile::ReadAllRecords(std::vector<MacroRecord>& records) const {
  File f = files_.Open(name_, FileMode::Read);
  if (!f) return false;
  const int64_t whole = SizeOf(*f, name_) / kRecordSize;
  SeekTo(*f, 0, name_);
  std::vector<MacroRecord> read(static_cast<size_t>(whole));
  for (MacroRecord& r : read) ReadBytes(*f, r.data(), MacroRecord::kSize, name_);
  records = std::move(read);
  return true;
}

bool MacroFile::ReplaceAllRecords(const std::vector<MacroRecord>& records) {
  const std::string temp = TempName();
  if (!files_.Exists(name_)) return false;
  TempFileGuard guard(files_, temp);
  File fresh = files_.Open(temp, FileMode::Create);
  if (!fresh) throw StoreIoError("Cannot create the temporary file", temp);
  guard.Arm();
  for (const MacroRecord& r : records) {
    MacroRecord out = r;
    out.ZeroReserved();
    WriteBytes(*fresh, out.data(), MacroRecord::kSize, temp);
  }
  // On the disk before it takes the old one's place.
  if (!fresh->Commit()) throw StoreIoError("Write error", temp);
  CloseWritten(fresh, temp);
  if (!files_.Replace(temp, name_)) throw StoreIoError("Cannot replace the file", name_);
  guard.Commit();
  return true;
}

std::string SyncFileName(std::string_view macro_file) {
  if (macro_file.size() < 3 || EndsWithNoCase(macro_file, "MAS"))
    return std::string(macro_file) + ".MAS";
  return std::string(macro_file.substr(0, macro_file.size() - 3)) + "MAS";
}

std::string KeyRemapFileName(std::string_view macro_file) {
  if (EndsWithNoCase(macro_file, ".QLX"))
    return std::string(macro_file.substr(0, macro_file.size() - 4)) + ".QLS";
  return std::string(macro_file) + ".QLS";
}

std::string CaptionFileName(std::string_view macro_file) {
  size_t slash = macro_file.find_last_of("\\/:");
  std::string_view base = slash == std::string_view::npos ? macro_file : macro_file.substr(slash + 1);
  return base.size() > 4 ? std::string(base.substr(0, base.size() - 4)) : std::string();
}

bool HasMacroFileExtension(std::string_view file_name) { return EndsWithNoCase(file_name, ".QLX"); }

namespace {
void RemoveRecent(RecentFiles& files, const std::string& name) {
  size_t out = 0;
  for (size_t i = 0; i < files.size(); ++i)
    if (files[i] != name) files[out++] = files[i];
  for (; out < files.size(); ++out) files[out].clear();
}
}  // namespace

void DoLastFiles(RecentFiles& files, const std::string& previous, const std::string& opened) {
  RemoveRecent(files, opened);
  if (previous.empty()) return;
  RemoveRecent(files, previous);
  for (size_t i = files.size() - 1; i > 0; --i) files[i] = files[i - 1];
  files[0] = previous;
}

RecentFilesMenu MenuForRecentFiles(const RecentFiles& files) {
  RecentFilesMenu menu;
  bool any = false;
  for (const std::string& f : files) any = any || !f.empty();
  if (!any) return menu;
  menu.separator_visible = true;
  for (size_t k = 0; k < files.size(); ++k) {
    if (files[k].empty()) continue;
    menu.items[k].visible = true;
    menu.items[k].caption = "&" + std::to_string(k + 1) + "   " + files[k];
  }
  return menu;
}

}  // namespace qlx
