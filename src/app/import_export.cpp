#include "app/import_export.h"

#include <memory>

#include "app/macro_list_model.h"
#include "engine/window_commands.h"
#include "store/hotkey_table.h"
#include "store/shared_blocks.h"

namespace qlx {

namespace {


bool KnownCode(uint16_t code) { return code < kHotKeyCodes || code == kTimedCode || code == kSnapwordCode; }
bool ImportableScope(int16_t scope) { return scope >= kScopeGlobal && scope <= kScopePopupMenu; }
bool IsHotKey(uint16_t code) { return code != kTimedCode && code != kSnapwordCode; }

// The text a sibling record brings, rewritten and wrapped; nothing when it
// would not fit the record.
std::optional<std::string> SiblingText(const std::string& text, bool rewrite_launch, bool paste_as_clipboard) {
  std::string out = text;
  bool launched = false;
  if (rewrite_launch) {
    if (auto rewritten = RewriteLaunch(text)) {
      out = *rewritten;
      launched = true;
    }
  }
  if (paste_as_clipboard && !launched) out = WrapClipboard(out);
  if (out.size() > mr::kTextMax) return std::nullopt;
  return out;
}

void PutRecordU16(MacroRecord& r, size_t offset, uint16_t v) { PutU16(r.data() + offset, v); }

}  // namespace

std::string DamagedRecordsText(int count, bool partial_tail) {
  constexpr char kTail[] = "its partial last record was left out.";
  if (count <= 0) return partial_tail ? std::string("The import file is damaged: ") + kTail : std::string();
  std::string text = std::to_string(count) + " records of the import file are damaged or too long and are not listed.";
  if (partial_tail) text += std::string("  The file is damaged too: ") + kTail;
  return text;
}

std::string HotKeyExistsText(uint16_t code) {
  return "A Global Hot Key for " + std::string(HotKeyName(code)) + " already exists.  This macro will not be imported.";
}

std::string CapacityExceededText(int excess) {
  return "The maximum capacity of macros per file will be exceeded. The last " + std::to_string(excess) +
         " macros selected will not be imported.";
}

std::optional<ImportFormat> ImportFormatOf(std::string_view file_name) {
  if (file_name.size() < 4) return std::nullopt;
  const std::string ext = UpperAscii(file_name.substr(file_name.size() - 4));
  if (ext == ".QLX") return ImportFormat::Own;
  if (ext == ".BR2") return ImportFormat::Brindle;
  if (ext == ".SNW") return ImportFormat::Snapwords;
  return std::nullopt;
}

std::optional<std::string> RewriteLaunch(std::string_view text) {
  if (text.find("<LAUNCH>") == std::string_view::npos) return std::nullopt;
  const std::string_view s = text.substr(0, 255);
  // Positions count from 1: the path starts at the 10th character, after
  // "<LAUNCH>" and one separator.
  constexpr size_t kPathStart = 9;
  const std::string_view path = s.size() > kPathStart ? s.substr(kPathStart) : std::string_view();
  const size_t param = s.find("<PARAM>");
  if (param == std::string_view::npos) return "<LAUNCH:" + std::string(path) + ">";
  const std::string folder(s.substr(param + 7));
  const std::string program = param > kPathStart ? std::string(s.substr(kPathStart, param - kPathStart)) : "";
  return "<CHDIR:" + folder + "><LAUNCH:" + program + ">";
}

std::string WrapClipboard(std::string_view text) { return "<BEGCLIP>" + std::string(text) + "<ENDCLIP><CLIPP>"; }

std::optional<MacroRecord> CheckOwnRecord(std::span<const uint8_t, mr::kSize> bytes) {
  const uint8_t* p = bytes.data();
  if (!CheckedPString(p + mr::kNickname, mr::kNicknameCapacity) ||
      !CheckedPString(p + mr::kScopeText, mr::kScopeTextCapacity) ||
      !CheckedPString(p + mr::kSnapword, mr::kSnapwordCapacity) ||
      !CheckedPString(p + mr::kIcon, mr::kIconCapacity) || !TerminatedText({p + mr::kText, mr::kTextBytes}))
    return std::nullopt;
  MacroRecord r;
  std::copy(bytes.begin(), bytes.end(), r.bytes().begin());
  if (!KnownCode(r.Code()) || r.Scope() < kScopeGlobal || r.Scope() > kScopeSystem) return std::nullopt;
  return r;
}

std::optional<MacroRecord> ConvertBrindle(const BrindleRecordView& v) {
  const auto nickname = v.Nickname();
  const auto scope_name = v.ScopeName();
  const auto text = v.Text();
  if (!nickname || !scope_name || !text || !KnownCode(v.Code()) || !ImportableScope(v.Scope())) return std::nullopt;
  const auto own_text = SiblingText(*text, true, v.PasteAsClipboard());
  if (!own_text) return std::nullopt;
  MacroRecord r;
  r.SetNickname(*nickname);
  r.SetScopeText(*scope_name);
  r.SetSnapword("");
  r.SetCode(v.Code());
  r.SetScope(v.Scope());
  r.data()[mr::kActive] = v.Active();
  PutRecordU16(r, mr::kReserved98, v.Reserved88());
  r.SetText(*own_text);
  r.SetIcon("MAIN");
  r.SetScheduleKind(v.ScheduleKind());
  for (size_t i = 0; i < br::kScheduleBytesCount; ++i) r.data()[mr::kDayFlags + i] = v.ScheduleByte(i);
  r.SetInterval(v.Interval());
  r.SetWeekday(v.Weekday());
  r.SetYear(v.Year());
  r.data()[mr::kPm] = v.Pm();
  r.data()[mr::kTopMostOnly] = v.TopMostOnly();
  return r;
}

std::optional<MacroRecord> ConvertSnapwords(const SnapwordsRecordView& v) {
  const auto abbreviation = v.Abbreviation();
  const auto text = v.Text();
  if (!abbreviation || !text) return std::nullopt;
  const auto own_text = SiblingText(*text, false, v.PasteAsClipboard());
  if (!own_text) return std::nullopt;
  MacroRecord r;
  r.SetSnapword(*abbreviation);
  r.data()[mr::kActive] = v.Active();
  PutRecordU16(r, mr::kReserved98, v.Reserved15());
  r.SetText(*own_text);
  r.SetCode(kSnapwordCode);
  r.SetScope(kScopeGlobal);
  r.SetIcon("MAIN");
  // The fixed schedule fields every imported abbreviation gets.
  r.SetScheduleKind(1);
  for (size_t off = mr::kDayFlags; off <= mr::kMinute; ++off) r.data()[off] = 0;
  r.SetMonth(1);
  r.SetDay(1);
  r.SetMinutePastHour(15);
  r.SetInterval(15);
  r.SetWeekday(1);
  r.SetYear(1998);
  r.SetPm(true);
  r.SetTopMostOnly(true);
  return r;
}

ImportList ReadImportBytes(ImportFormat format, std::span<const uint8_t> bytes) {
  ImportList list;
  list.format = format;
  const size_t size = format == ImportFormat::Own       ? mr::kSize
                      : format == ImportFormat::Brindle ? br::kSize
                                                        : sw::kSize;
  if (bytes.size() % size != 0) {
    // Like a macro file, an own file gives its whole records.
    if (format != ImportFormat::Own) {
      list.wrong_size = true;
      return list;
    }
    list.partial_tail = true;
  }
  const size_t count = bytes.size() / size;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = bytes.data() + i * size;
    std::optional<MacroRecord> record;
    switch (format) {
      case ImportFormat::Own:
        record = CheckOwnRecord(std::span<const uint8_t, mr::kSize>(p, mr::kSize));
        if (record && record->Scope() == kScopeSystem) continue;
        break;
      case ImportFormat::Brindle:
        record = ConvertBrindle(BrindleRecordView(std::span<const uint8_t, br::kSize>(p, br::kSize)));
        break;
      case ImportFormat::Snapwords:
        record = ConvertSnapwords(SnapwordsRecordView(std::span<const uint8_t, sw::kSize>(p, sw::kSize)));
        break;
    }
    if (!record) {
      ++list.damaged;
      continue;
    }
    list.items.push_back({*record, static_cast<int>(i + 1)});
  }
  return list;
}

ListedMacro ListedMacroOf(uint16_t code, std::string_view snapword, std::string_view nickname, int16_t scope,
                          std::string_view scope_name) {
  ListedMacro m;
  m.activation = ActivationColumnText(code, snapword);
  m.nickname = std::string(nickname);
  if (scope == kScopeGlobal) m.scope = "GLOBAL";
  else if (scope == kScopePopupMenu) m.scope = "POPUP MENU";
  else if (scope == kScopeSystem) m.scope = "SYSTEM";
  else m.scope = std::string(scope_name);
  return m;
}

ListRowColumns ListRowColumnsFor(int width) {
  ListRowColumns c;
  c.nickname_x = width * 5 / 14;
  c.nickname_width = width * 3 / 7;
  c.scope_x = width * 11 / 14;
  return c;
}

std::optional<std::vector<size_t>> ConfirmImport(const ImportList& list, std::vector<bool>& selected,
                                                 const ActivationBlock& block, IMessageBoxes& boxes) {
  selected.resize(list.items.size(), false);
  const int count = block.ClampedCount();
  bool flagged = false;
  for (size_t i = 0; i < list.items.size(); ++i) {
    if (!selected[i]) continue;
    const MacroRecord& r = list.items[i].record;
    if ((r.Scope() != kScopeGlobal && r.Scope() != kScopePopupMenu) || !IsHotKey(r.Code())) continue;
    for (int n = 1; n <= count; ++n) {
      if (block.Code(n) != r.Code()) continue;
      boxes.Show(kWarningCaptionText, HotKeyExistsText(r.Code()));
      selected[i] = false;
      flagged = true;
      break;
    }
  }
  std::vector<size_t> chosen;
  for (size_t i = 0; i < selected.size(); ++i)
    if (selected[i]) chosen.push_back(i);
  const int excess = static_cast<int>(chosen.size()) + count - kMaxMacros;
  if (excess > 0) {
    boxes.Show(kWarningCaptionText, CapacityExceededText(excess));
    flagged = true;
  }
  if (flagged && !boxes.AskYesNo(kWarningCaptionText, kContinueImportText)) return std::nullopt;
  if (chosen.empty()) {
    boxes.Show(kErrorCaption, kNothingToImportText);
    return std::nullopt;
  }
  const size_t room = count < kMaxMacros ? static_cast<size_t>(kMaxMacros - count) : 0;
  if (chosen.size() > room) chosen.resize(room);
  return chosen;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(IFileSystem& files, const std::string& path) {
  std::unique_ptr<IFile> f = files.Open(path, FileMode::Read);
  if (!f) return std::nullopt;
  const int64_t size = f->Size();
  if (size < 0) throw StoreIoError("Cannot determine the file size", path);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (!f->Seek(0) || f->Read(bytes.data(), bytes.size()) != bytes.size()) throw StoreIoError("Read error", path);
  f->Close();
  return bytes;
}

bool ReplaceWholeFile(IFileSystem& files, const std::string& target, const std::vector<uint8_t>& bytes) {
  const std::string temp = target + ".~qx";
  std::unique_ptr<IFile> f = files.Open(temp, FileMode::Create);
  if (!f) return false;
  bool ok = f->Write(bytes.data(), bytes.size()) == bytes.size();
  // On the disk before it takes the old file's place: a crash right after
  // the replace cannot leave a torn file.
  ok = ok && f->Commit();
  ok = f->Close() && ok;
  f.reset();
  if (!ok || !files.Replace(temp, target)) {
    files.Remove(temp);
    throw StoreIoError("Write error", target);
  }
  return true;
}

std::optional<int> AppendImported(MacroFile& file, IFileSystem& files, const ImportList& list,
                                  const std::vector<size_t>& chosen, double now, IMessageBoxes& boxes) {
  auto bytes = ReadWholeFile(files, file.name());
  if (!bytes) {
    boxes.Show(kErrorCaption, kSavingFailedText);
    return std::nullopt;
  }
  // Whole records only: a partial record at the end is dropped, as an
  // append would overwrite it.
  size_t records = bytes->size() / mr::kSize;
  bytes->resize(records * mr::kSize);
  int added = 0;
  for (size_t index : chosen) {
    if (records >= static_cast<size_t>(kMaxMacros) || index >= list.items.size()) break;
    MacroRecord r = list.items[index].record;
    if (list.format != ImportFormat::Own) r.SetLastModified(now);
    bytes->insert(bytes->end(), r.bytes().begin(), r.bytes().end());
    ++records;
    ++added;
  }
  if (added > 0 && !ReplaceWholeFile(files, file.name(), *bytes)) {
    boxes.Show(kErrorCaption, kSavingFailedText);
    return std::nullopt;
  }
  file.Load();
  return added;
}

std::vector<int> ExportableMacros(const ActivationBlock& block) {
  std::vector<int> out;
  for (int n = 1; n <= block.ClampedCount(); ++n)
    if (block.Scope(n) != kScopeSystem) out.push_back(n);
  return out;
}

bool ExportMacros(const MacroFile& file, IFileSystem& files, const std::vector<int>& numbers,
                  const std::string& target) {
  // Everything is read before the target is touched, so even a target
  // that names the current file loses nothing to a half-done export.
  std::vector<uint8_t> bytes;
  bytes.reserve(numbers.size() * mr::kSize);
  MacroRecord r;
  for (int n : numbers) {
    if (!file.ReadRecord(n, r)) throw StoreIoError("Cannot open the macro file", file.name());
    bytes.insert(bytes.end(), r.bytes().begin(), r.bytes().end());
  }
  return ReplaceWholeFile(files, target, bytes);
}

}  // namespace qlx
