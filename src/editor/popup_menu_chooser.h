#pragma once
// The chooser "Choose A Macro" of a popup-menu macro: which key chooses
// which entry, what each line shows, how big the window is and where it
// stands; and the menu icons in the notification area.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "activation/record_source.h"
#include "editor/popup_menu.h"
#include "store/macro_tables.h"
#include "store/shared_blocks.h"

namespace qlx {

inline constexpr char kChooserCaption[] = "Choose A Macro";
inline constexpr char kChooserHint[] = "Double Click or Press Number or Letter";
inline constexpr char kNicknameHeading[] = "Nickname";
inline constexpr char kScopeHeading[] = "Scope";
inline constexpr char kMacroTextHeading[] = "Macro Text";
// Keys reach positions 0..35: the digits, then the letters.
inline constexpr int kKeyPositions = 36;
inline constexpr int kLinesPerList = 18;

// "0".."9" for positions 0..9, "A".."Z" for 10..35; no label beyond.
std::string ChooserLabel(int position);

// The entry a key chooses: the key upper-cased, "0".."9" positions 0..9 and
// "A".."Z" 10..35, chosen when the menu has that many entries. Any other
// key chooses nothing.
std::optional<int> ChooserKeyToEntry(char key, int entries);

// One entry of a menu as the chooser shows it.
struct ChooserEntry {
  int macro = 0;
  std::string label;
  std::string text;   // first part of the text, or the nickname
  std::string scope;  // nickname mode only
  std::string icon;   // the record's icon name
  int16_t scope_code = 0;
};

// The line of macro `record` in `mode`: text mode its text as stored (at
// most 255 characters), nickname mode the nickname without surrounding
// spaces (an empty one shows "Timed Macro", the Snapword or the hot-key
// name) and the scope.
ChooserEntry MakeChooserEntry(int macro, int position, const MacroRecord& record, ChooserMode mode);

// The entries of a menu, read from the file. A number whose record cannot
// be read keeps its place with an empty line and still chooses by number.
std::vector<ChooserEntry> ChooserEntries(const MacroRecord& menu, IRecordSource& records);

// Cuts `text` character by character until `measure` says it fits `width`.
std::string FitToWidth(std::string text, int width, const std::function<int(std::string_view)>& measure);

// The chooser's size and the places of its parts, in client pixels.
struct ChooserRect {
  int left = 0, top = 0, width = 0, height = 0;
};
struct ChooserLayout {
  int client_width = 0, client_height = 0;
  bool icon_mode = false;
  // Text and nickname modes.
  int lists = 0;  // 1, or 2 past 18 entries
  ChooserRect list[2];
  // Icon mode: one square button per entry, nine to a row.
  int button_side = 0;
  std::vector<ChooserRect> buttons;
  ChooserRect cancel;
  ChooserRect hint;
};
ChooserLayout ComputeChooserLayout(ChooserMode mode, int entries, int icon_pixels);

// Where the chooser stands: centred when opened by a hot key (x = -1),
// else at the bottom of the screen from the click's x, moved left by its
// own width when it would leave the screen on the right, never left of 0.
struct ChooserPlace {
  int left = 0, top = 0;
};
ChooserPlace PlaceChooser(int click_x, int width, int height, int screen_width, int screen_height);

// The picture of an entry's button in icon mode.
enum class IconPicture : uint8_t { Program, Menu, File };
IconPicture ChooserIconPicture(std::string_view icon_name, int16_t scope, bool file_exists);

// ---- menu icons in the notification area

inline constexpr int kMaxMenuTrayIcons = 15;
// Popup-menu macros placed in the tray, in number order, the first 15.
std::vector<int> MenuTrayMacros(const ActivationBlock& block, const MacroNameTables& names);

// The picture of a menu's tray icon: the menu icon for "MENU" or a file
// that is not in the icon folder, else that file.
IconPicture MenuTrayIconPicture(std::string_view icon_name, bool file_exists);

// What a right click on the menu icon of `macro` hands to the hot-key
// handler: the number marked as a macro number, the window to go back to
// after the menu (the last window activated outside the program) and the
// chooser's x.
struct MenuIconClick {
  uint32_t wparam = 0;
  uint32_t target_window = 0;
  int chooser_x = -1;
};
MenuIconClick MenuIconRightClick(int macro, int click_x, const WindowBlock& window_block);

}  // namespace qlx
