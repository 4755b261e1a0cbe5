#include "help/help_topics.h"

#include <array>

#include "resource.h"

namespace qlx::help {
namespace {

constexpr Topic kTopics[] = {
    {kContents, "contents.htm"},
    // The main window and its menus
    {"Main Window", "main-window.htm"},
    {"Macro Files", "macro-files.htm"},
    {"Quick Info", "quick-info.htm"},
    {"Copy and Rename", "copy-rename.htm"},
    {"System Hot Keys", "system-hot-keys.htm"},
    {"Sort Order", "sort-order.htm"},
    {"Appearance", "appearance.htm"},
    {"Tray Icons", "tray-icons.htm"},
    {"Playing Macros", "playing-macros.htm"},
    // Making and changing macros
    {"Add Macro", "add-macro.htm"},
    {"Command Wizard", "command-wizard.htm"},
    {"Scripting Editor", "scripting-editor.htm"},
    {"Modify Hot Key", "direct-editor.htm"},
    {"Text Insertion", "text-insertion.htm"},
    // The command dialogs
    {"Mouse Commands", "mouse-commands.htm"},
    {"Delays", "delays.htm"},
    {"Set Delay", "set-delay.htm"},
    {"Alt Keypad Sequence", "alt-keypad.htm"},
    {"Macro Pause", "macro-pause.htm"},
    {"Repeat Options", "repeat-options.htm"},
    {"Keyboard and Mouse Speed", "speed.htm"},
    {"Activating Windows", "activating-windows.htm"},
    {"Set Sound", "set-sound.htm"},
    {"Swap Macro File", "swap-macro-file.htm"},
    {"Insert Text File", "insert-text-file.htm"},
    {"Size or Position", "size-position.htm"},
    {"System Commands", "system-commands.htm"},
    {"Remarks", "remarks.htm"},
    {"Clipboard Options", "clipboard.htm"},
    {"Keys Up Or Down", "keys-up-down.htm"},
    {"Web Site URL", "web-site.htm"},
    {"Web FTP", "web-ftp.htm"},
    {"File Commands", "file-commands.htm"},
    {"Date Format", "date-format.htm"},
    {"Time Format", "time-format.htm"},
    {"Set Window Title", "window-title.htm"},
    {"Set Program Name", "program-name.htm"},
    {"Insert Symbol", "insert-symbol.htm"},
    // Capture, Snapwords, remapping
    {"Capture Defaults", "capture-defaults.htm"},
    {"Capture Macro", "capture-macro.htm"},
    {"Capture Complete", "capture-complete.htm"},
    {"Snapword Options", "snapwords.htm"},
    {"Keyboard Remapper", "keyboard-remapper.htm"},
    // Timed and popup-menu macros
    {"Set Schedule", "set-schedule.htm"},
    {"Scheduler Frequency", "timer-interval.htm"},
    {"Build Macro Menu", "popup-menus.htm"},
    {"Choose A Macro", "choose-macro.htm"},
    // Sharing
    {"Network Considerations", "network.htm"},
    {"Print Macro List", "printing.htm"},
    {"Output Macro Information", "macro-information.htm"},
    {"Import Macros", "import.htm"},
    {"Export Macros", "export.htm"},
};

using H = Handler;
constexpr DialogTopic kDialogs[] = {
    // Main window
    {IDD_COPY_OR_MOVE, "Copy and Rename", H::Common},
    {IDD_SYSTEM_KEYS, "System Hot Keys", H::Common},
    {IDD_QUICK_INFO, "Quick Info", H::Common},
    {IDD_SORT_ORDER, "Sort Order", H::Common},
    {IDD_APPEARANCE, "Appearance", H::Common},
    // Editors: their keyword follows what they were opened for
    {IDD_DO_SCRIPTING, "Scripting Editor", H::Dialog},
    {IDD_MOD_HOT_KEYS, "Modify Hot Key", H::Dialog},
    {IDD_MOD_TEXT, "Text Insertion", H::Dialog},
    {IDD_DO_MOUSE, "Mouse Commands", H::Dialog},
    {IDD_DO_DELAY2, "Delays", H::Dialog},
    {IDD_DO_PAUSE_POS, "Macro Pause", H::Dialog},
    {IDD_DO_REPEAT, "Repeat Options", H::Dialog},
    {IDD_DO_SPEED, "Keyboard and Mouse Speed", H::Dialog},
    {IDD_DO_ACTIVE, "Activating Windows", H::Dialog},
    {IDD_DO_SOUND, "Set Sound", H::Dialog},
    {IDD_DO_SWAP, "Swap Macro File", H::Dialog},
    {IDD_DO_TEXT_INSERT, "Insert Text File", H::Dialog},
    {IDD_DO_SIZE_IT, "Size or Position", H::Dialog},
    {IDD_DO_SYSTEM_COMMAND, "System Commands", H::Dialog},
    {IDD_DO_REMARK, "Remarks", H::Dialog},
    {IDD_DO_CLIPBOARD, "Clipboard Options", H::Dialog},
    {IDD_DO_KEY_UP_DOWN, "Keys Up Or Down", H::Dialog},
    {IDD_DO_WEB_STUFF, "Web Site URL", H::Dialog},
    {IDD_DO_DOS_FILES, "File Commands", H::Dialog},
    {IDD_DATE_OR_TIME, "Date Format", H::Dialog},
    {IDD_DO_SPEC_WIND, "Set Window Title", H::Dialog},
    {IDD_DO_SPECIAL, "Insert Symbol", H::Dialog},
    {IDD_DO_DELAY, "Set Delay", H::Dialog},
    // Capture, Snapwords, remapping
    {IDD_CAPTURE_DEFAULTS, "Capture Defaults", H::Common},
    {IDD_CAPTURE_MACRO, "Capture Macro", H::Common},
    {IDD_CAPTURE_COMPLETE, "Capture Complete", H::Common},
    {IDD_SNAPWORD_OPTIONS, "Snapword Options", H::Common},
    {IDD_KEY_REMAPPER, "Keyboard Remapper", H::Common},
    {IDD_SELECT_CHARACTER, "Keyboard Remapper", H::Common},
    // Timed and popup-menu macros
    {IDD_SET_SCHEDULE, "Set Schedule", H::Common},
    {IDD_BUILD_MENU, "Build Macro Menu", H::Common},
    {IDD_CHOOSE_MACRO, "Choose A Macro", H::Common},
    // Playback
    {IDD_PAUSE_MACRO, "Playing Macros", H::Common},
    {IDD_REPEAT_PROMPT, "Playing Macros", H::Common},
// The add-macro dialog and the wizard, once their resources are part of
// the program; the wizard answers its Help button itself.
#ifdef IDD_ADD_NEW_HOT_KEY
    {IDD_ADD_NEW_HOT_KEY, "Add Macro", H::Common},
#endif
#ifdef IDD_DO_WIZARD
    {IDD_DO_WIZARD, "Command Wizard", H::Dialog},
#endif
// Sharing dialogs, once their resources are part of the program.
#ifdef IDD_NETWORK
    {IDD_NETWORK, "Network Considerations", H::Common},
    {IDD_OUTPUT_MACROS, "Output Macro Information", H::Common},
    {IDD_EXPORT_MACROS, "Export Macros", H::Common},
    {IDD_IMPORT_MACROS, "Import Macros", H::Common},
#endif
};

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::span<const Topic> Topics() { return kTopics; }
std::span<const DialogTopic> DialogTopics() { return kDialogs; }

std::string_view PageOf(std::string_view keyword) {
  for (const Topic& t : kTopics)
    if (SameLetters(t.keyword, keyword)) return t.page;
  return kTopics[0].page;
}

std::string PagePath(std::string_view program_dir, std::string_view keyword) {
  std::string path(program_dir);
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
  path += kFolder;
  path += '\\';
  path += PageOf(keyword);
  return path;
}

std::string MissingPageMessage(std::string_view path) {
  return "The help page " + std::string(path) + " could not be opened.";
}

std::optional<DialogTopic> TopicOfDialog(int template_id) {
  for (const DialogTopic& d : kDialogs)
    if (d.template_id == template_id) return d;
  return std::nullopt;
}

bool IsHelpCaption(std::string_view caption) {
  std::string letters;
  for (char c : caption)
    if (c != '&') letters += c;
  return SameLetters(letters, "Help");
}

}  // namespace qlx::help
