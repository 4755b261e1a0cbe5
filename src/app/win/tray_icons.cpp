#include "app/win/tray_icons.h"

#include "app/tray_life.h"
#include "editor/popup_menu.h"
#include "editor/popup_menu_chooser.h"
#include "platform/files.h"
#include "resource.h"

namespace qlx {
namespace {

constexpr int kTrayIconPixels = 16;

HICON LoadResourceIcon(HINSTANCE instance, int id) {
  return static_cast<HICON>(
      ::LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, kTrayIconPixels, kTrayIconPixels, 0));
}

}  // namespace

void TTrayIcons::Create(HINSTANCE instance, Events events, bool active) {
  instance_ = instance;
  events_ = std::move(events);
  program_ = std::make_unique<TTaskIcon>(LoadResourceIcon(instance, IDI_MAIN), kProgramTrayIconId, kProgramTrayTip);
  program_->OnClick = [this] {
    if (events_.program_click) events_.program_click();
  };
  program_->OnRightClick = [this](POINT p) {
    if (events_.program_right_click) events_.program_right_click(p);
  };
  program_->SetActive(active);
}

void TTrayIcons::SetProgramIconActive(bool on) {
  if (program_) program_->SetActive(on);
}

HICON TTrayIcons::MenuPicture(const MacroRecord& record, const std::string& program_dir) const {
  const std::string name = record.Icon();
  const std::string file = IconFile(program_dir, name);
  if (MenuTrayIconPicture(name, FileExists(file)) == IconPicture::File) {
    // A file that is there but no icon falls back like a missing one.
    if (HICON h = static_cast<HICON>(::LoadImageA(nullptr, file.c_str(), IMAGE_ICON, kTrayIconPixels,
                                                  kTrayIconPixels, LR_LOADFROMFILE)))
      return h;
  }
  return LoadResourceIcon(instance_, IDI_MENU);
}

void TTrayIcons::DoMenuTaskIcon(const ActivationBlock& block, const MacroNameTables& names, IRecordSource& records,
                                const std::string& program_dir) {
  ClearMenuTaskIcon();
  MacroRecord record;
  for (int n : MenuTrayMacros(block, names)) {
    if (!records.ReadRecord(n, record)) continue;
    auto icon = std::make_unique<TTaskIcon>(MenuPicture(record, program_dir), static_cast<uint32_t>(n),
                                            record.Nickname());
    icon->OnRightClick = [this, n](POINT p) {
      if (events_.menu_right_click) events_.menu_right_click(n, p);
    };
    icon->SetActive(true);
    menus_.push_back(std::move(icon));
  }
}

void TTrayIcons::ClearMenuTaskIcon() { menus_.clear(); }

}  // namespace qlx
