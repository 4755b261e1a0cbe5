#include "app/macro_report.h"

#include <memory>

#include "app/macro_list_model.h"
#include "store/hotkey_table.h"
#include "activation/schedule_form.h"
#include "store/macro_file.h"
#include "store/shared_blocks.h"

namespace qlx {

namespace {

constexpr char kLineEnd[] = "\r\n";

// The window title or program name with its prefix, as the list prints it:
// at most 38 characters for "Window: " and 39 for "Program: ".
std::string ScopeNameText(int16_t scope, const std::string& name) {
  const std::string prefix = scope == kScopeWindow ? "Window: " : "Program: ";
  const size_t limit = scope == kScopeWindow ? 38 : 39;
  std::string s = prefix + name;
  if (s.size() > limit) s.resize(limit);
  return s;
}

}  // namespace

std::string ReportActivationText(const MacroRecord& record) {
  if (record.Code() == kSnapwordCode) return "Snapword: " + record.Snapword();
  return ActivationColumnText(record.Code(), "");
}

std::string PrintScopeText(const MacroRecord& record) {
  switch (record.Scope()) {
    case kScopeGlobal: return "GLOBAL";
    case kScopeWindow:
    case kScopeProgram:
      return ScopeNameText(record.Scope(), record.ScopeText()) +
             (record.TopMostOnly() ? " (Top Most Only)" : " (If Running)");
    case kScopePopupMenu: return "Popup Menu";
    case kScopeSystem: return "SYSTEM";
    default: return std::string();
  }
}

std::optional<std::string> CheckInfoParts(const InfoParts& parts) {
  if (Has(parts, InfoPart::HotKey) || Has(parts, InfoPart::Name) || Has(parts, InfoPart::Window) ||
      Has(parts, InfoPart::Text))
    return std::nullopt;
  return std::string(kNothingCheckedText);
}

std::string InformationBlock(const ReportRow& row, const InfoParts& parts) {
  const MacroRecord& r = row.record;
  const int16_t scope = r.Scope();
  std::string out;
  auto line = [&out](const std::string& s) {
    out += s;
    out += kLineEnd;
  };
  if (Has(parts, InfoPart::Icon)) {
    const std::string icon = r.Icon();
    if (scope == kScopeSystem) line("Icon: (None)");
    else if (icon == "MAIN") line("Icon: (Default Icon)");
    else if (icon == "MENU") line("Icon: (Default Menu Icon)");
    else line("Icon: " + icon);
  }
  if (Has(parts, InfoPart::HotKey)) {
    const uint16_t code = r.Code();
    if (code == kTimedCode || code == kSnapwordCode) line(ReportActivationText(r));
    else line("Hot Key: " + ReportActivationText(r));
  }
  if (Has(parts, InfoPart::Name)) line("Name: " + row.nickname);
  if (Has(parts, InfoPart::Window)) {
    switch (scope) {
      case kScopeGlobal: line("Scope: GLOBAL"); break;
      case kScopePopupMenu: line("Scope: Popup Menu"); break;
      case kScopeSystem: line("Scope: SYSTEM"); break;
      case kScopeWindow:
      case kScopeProgram:
        line(std::string(scope == kScopeWindow ? "Window: " : "Program: ") + r.ScopeText() +
             (r.TopMostOnly() ? ", Top Most Only" : ", If Active"));
        break;
      default: break;
    }
  }
  if (Has(parts, InfoPart::Schedule) && r.Code() == kTimedCode) line("Schedule: " + GetSched(r));
  if (Has(parts, InfoPart::Text) && scope != kScopePopupMenu && scope != kScopeSystem) line("Text: " + r.Text());
  out += kLineEnd;
  return out;
}

std::string InformationFile(const std::vector<ReportRow>& rows, const InfoParts& parts) {
  std::string out;
  for (const ReportRow& row : rows) out += InformationBlock(row, parts);
  return out;
}

bool WriteTextFile(IFileSystem& files, const std::string& path, std::string_view contents) {
  std::unique_ptr<IFile> f = files.Open(path, FileMode::Create);
  if (!f) return false;
  const auto* p = reinterpret_cast<const uint8_t*>(contents.data());
  const bool written = f->Write(p, contents.size()) == contents.size();
  if (!f->Close() || !written) throw StoreIoError("Write error", path);
  return true;
}

}  // namespace qlx
