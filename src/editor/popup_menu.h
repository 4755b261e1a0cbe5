#pragma once
// Popup-menu macros: how a menu of macros is kept in a macro record, and
// the rules of the builder "Build Macro Menu" that edits it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/macro_record.h"
#include "store/macro_tables.h"
#include "store/shared_blocks.h"

namespace qlx {

// Where a popup-menu macro keeps its menu: three option characters in the
// Snapword field, and in the text area a 16-bit count followed by 16-bit
// macro numbers in menu order.
namespace pm {
inline constexpr size_t kOptions = mr::kSnapword;  // string[10], three characters used
inline constexpr size_t kOptionsLength = 3;
inline constexpr size_t kCount = mr::kText;  // uint16
inline constexpr size_t kEntries = kCount + 2;  // uint16 each
inline constexpr size_t kEntrySize = 2;
// A menu lists macros of one file: never more than a file holds.
inline constexpr size_t kMaxEntries = kMaxMacros;
static_assert(kOptionsLength <= mr::kSnapwordCapacity);
static_assert(kEntries == 102);
static_assert(kEntries + kEntrySize * kMaxEntries <= mr::kText + mr::kTextBytes);
}  // namespace pm

inline constexpr char kMenuIconName[] = "MENU";
inline constexpr char kMainIconName[] = "MAIN";

// What the chooser shows (option character 2).
enum class ChooserMode : uint8_t { FirstPart = 1, Icons = 2, NicknameAndScope = 3 };

struct MenuOptions {
  bool in_tray = false;  // option character 1: "Y"
  ChooserMode mode = ChooserMode::NicknameAndScope;
  int size_index = 0;  // option character 3: 0..4 for 16, 24, 32, 48, 64 pixels
};

// Icon sizes of the chooser and their names in the builder.
inline constexpr int kIconSizes[5] = {16, 24, 32, 48, 64};
inline constexpr const char* kIconSizeNames[5] = {"16 x 16", "24 x 24", "32 x 32", "48 x 48", "64 x 64"};
// Pixels of a size index; anything outside 0..4 is 16.
int IconPixels(int size_index);

// Options from their three characters; a missing or unknown character
// takes its default.
MenuOptions ParseMenuOptions(std::string_view text);
std::string MenuOptionsText(const MenuOptions& options);

// Typed view of the menu in a record.
class PopupMenuView {
 public:
  explicit PopupMenuView(const MacroRecord& record) : record_(record) {}
  MenuOptions Options() const { return ParseMenuOptions(record_.Snapword()); }
  // The stored count, never beyond what a menu can hold.
  size_t Count() const;
  // Entry i (0-based) as stored: a macro number not yet checked against
  // the file.
  int Entry(size_t i) const;
  std::vector<int> Entries() const;

 private:
  const MacroRecord& record_;
};

// Writes the menu; entries beyond a menu's capacity are dropped. The rest
// of the text area is cleared so a menu record is reproducible.
void SetMenuEntries(MacroRecord& record, const std::vector<int>& entries);
void SetMenuOptions(MacroRecord& record, const MenuOptions& options);

// ---- the builder

inline constexpr char kNoMacroSelectedText[] = "No macro selected.  Please select one.";

// The two lists of the builder and what its buttons do to them. Positions
// are list indexes; -1 is no selection.
class PopupMenuBuilder {
 public:
  struct Selection {
    int available = -1;
    int menu = -1;
  };
  struct Buttons {
    bool add = false, insert_before = false, insert_after = false;
    bool remove = false, up = false, down = false;
  };

  // Fills both lists from the tables in macro-number order, without the
  // system macros: the menu list gets the macros the stored menu lists,
  // whatever their stored order; the available list every other one.
  void Load(const ActivationBlock& block, const std::vector<int>& stored_menu);

  const std::vector<int>& menu() const { return menu_; }
  const std::vector<int>& available() const { return available_; }

  // Each returns the refusal to show, or nothing when done; the selection
  // then follows the moved macro.
  // "&Add": the selected available macro to the end of the menu.
  std::optional<std::string> Add(Selection& sel);
  // "I&nsert": in front of the selected menu entry, at the top when none.
  std::optional<std::string> InsertBefore(Selection& sel);
  // "&Insert": behind the selected menu entry, at the end when none.
  std::optional<std::string> InsertAfter(Selection& sel);
  // "&Remove": back among the available macros, in number order.
  std::optional<std::string> Remove(Selection& sel);
  std::optional<std::string> Up(Selection& sel);
  std::optional<std::string> Down(Selection& sel);

  Buttons Enabled(const Selection& sel) const;

 private:
  bool ValidAvailable(int i) const { return i >= 0 && i < static_cast<int>(available_.size()); }
  bool ValidMenu(int i) const { return i >= 0 && i < static_cast<int>(menu_.size()); }
  std::optional<std::string> MoveIntoMenu(Selection& sel, int at);

  std::vector<int> menu_;
  std::vector<int> available_;
};

// How a macro is named in the builder and the chooser: its nickname without
// surrounding spaces; an unnamed macro shows "Timed Macro", its Snapword or
// the name of its hot key.
std::string ShownMacroName(std::string_view nickname, uint16_t code, std::string_view snapword);
// The same for macro n of the tables.
std::string MacroListName(int n, const ActivationBlock& block, const MacroNameTables& names);

// The builder's other fields.
struct MenuForm {
  std::string nickname;
  MenuOptions options;
  std::string icon = kMenuIconName;
};

// The form a record opens with; `icon_exists` tells whether an icon file
// of that name is in the icon folder. New menus open empty, not in the
// tray, nickname and scope, 16 x 16, the menu icon.
MenuForm MenuFormFromRecord(const MacroRecord& record, bool icon_exists);
MenuForm NewMenuForm();

// "&Ok": writes nickname, icon, scope 4, the options and the menu into the
// working record (a new menu is made active). True when the tray icons
// must be rebuilt: a new menu placed in the tray, or a nickname or tray
// choice that differs from the opening, or a new icon chosen.
bool SaveMenuForm(const MenuForm& form, const std::vector<int>& menu, bool is_new, const MenuForm& at_opening,
                  bool icon_changed, MacroRecord& working);

// ---- choosing an icon file

inline constexpr char kInvalidIconTypeText[] = "Invalid file type selected.";
inline constexpr char kIconNameTakenText[] =
    "The selected icon could not be opened.  An icon of this name already exists in the default icon folder.  It "
    "will be opened instead.";
inline constexpr char kIconNotOpenedText[] = "Icon could not be opened.";
inline constexpr char kIconDialogTitle[] = "Load in Icon";
inline constexpr char kIconFilter[] = "Icons (*.ico)|*.ICO";
inline constexpr char kIconExtension[] = "ICO";

// The icon folder's files as the builder needs them.
class IIconFolder {
 public:
  virtual ~IIconFolder() = default;
  virtual bool Exists(const std::string& path) = 0;
  // Copies without replacing an existing file; false when it failed.
  virtual bool CopyNew(const std::string& from, const std::string& to) = 0;
  // The short (8.3) name of an existing file, without folder.
  virtual std::string ShortName(const std::string& path) = 0;
};

struct IconChoice {
  std::vector<std::string> messages;  // shown in order, caption "Error"
  std::optional<std::string> icon;    // the new icon name, when one was taken
  std::string path;                   // the file in the icon folder to show
};

// A file picked in the open dialog: checked, copied into the icon folder
// when it is elsewhere, and named by its short name cut to 12 characters.
IconChoice ChooseIconFile(const std::string& picked, const std::string& icon_folder, IIconFolder& files);

// The icon folder of a program folder: "<program>\Icons".
std::string IconFolder(std::string_view program_dir);
// The file of an icon name in that folder.
std::string IconFile(std::string_view program_dir, std::string_view icon_name);

}  // namespace qlx
