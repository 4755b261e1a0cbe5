#pragma once
// Reads what the tests need from the program's resource scripts under res/:
// the identifiers of the headers, the dialog templates with their buttons,
// and the main menu's popups. Just enough of the script language for the
// way this project writes its scripts (one statement a line).
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace qlx::test {

inline std::filesystem::path SourceDir() { return QLX_SOURCE_DIR; }

inline std::string ReadText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

inline std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& dir, const std::string& ext) {
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (e.is_regular_file() && e.path().extension() == ext) files.push_back(e.path());
  return files;
}

// Every `#define NAME number` of the headers in res/.
inline std::map<std::string, int> ResourceIds() {
  std::map<std::string, int> ids;
  static const std::regex define(R"(^\s*#define\s+(\w+)\s+(\d+)\b)");
  for (const auto& header : FilesIn(SourceDir() / "res", ".h"))
    for (const std::string& line : Lines(ReadText(header))) {
      std::smatch m;
      if (std::regex_search(line, m, define)) ids[m[1]] = std::stoi(m[2]);
    }
  return ids;
}

struct DialogTemplate {
  std::string file;
  std::string name;                   // the identifier, e.g. IDD_SORT_ORDER
  std::vector<std::string> captions;  // the quoted text of every control
  std::vector<std::string> ids;       // beside each caption: the control's id as written
};

inline std::vector<DialogTemplate> DialogTemplates() {
  std::vector<DialogTemplate> dialogs;
  static const std::regex start(R"(^(\w+)\s+DIALOG(EX)?\s)");
  static const std::regex control(R"(^\s+\w+\s+"((?:[^"]|"")*)\"\s*,\s*(-?\w+))");
  for (const auto& script : FilesIn(SourceDir() / "res", ".rc")) {
    DialogTemplate* open = nullptr;
    for (const std::string& line : Lines(ReadText(script))) {
      std::smatch m;
      if (std::regex_search(line, m, start)) {
        dialogs.push_back({script.filename().string(), m[1], {}, {}});
        open = &dialogs.back();
      } else if (open && line.rfind("END", 0) == 0) {
        open = nullptr;
      } else if (open && std::regex_search(line, m, control)) {
        open->captions.push_back(m[1]);
        open->ids.push_back(m[2]);
      }
    }
  }
  return dialogs;
}

// One popup of a menu: the texts of its own items and sub-popups, in order.
struct MenuPopup {
  std::string title;
  std::vector<std::string> items;
};

// The popups of the menu `name` in `script`, at every depth.
inline std::vector<MenuPopup> MenuPopups(const std::filesystem::path& script, const std::string& name) {
  static const std::regex item(R"(^\s*(MENUITEM|POPUP)\s+"((?:[^"]|"")*)\")");
  std::vector<MenuPopup> done;
  std::vector<MenuPopup> open;  // the popups being read, innermost last
  bool in_menu = false;
  int depth = 0;
  std::string pending_popup;
  bool has_pending = false;
  for (const std::string& raw : Lines(ReadText(script))) {
    if (!in_menu) {
      in_menu = raw.rfind(name + " MENU", 0) == 0;
      continue;
    }
    const std::string line = raw.substr(raw.find_first_not_of(" \t") == std::string::npos
                                            ? raw.size()
                                            : raw.find_first_not_of(" \t"));
    std::smatch m;
    if (line.rfind("BEGIN", 0) == 0) {
      ++depth;
      if (has_pending) open.push_back({pending_popup, {}});
      has_pending = false;
    } else if (line.rfind("END", 0) == 0) {
      if (--depth == 0) break;
      done.push_back(open.back());
      open.pop_back();
    } else if (std::regex_search(line, m, item)) {
      if (!open.empty()) open.back().items.push_back(m[2]);
      if (m[1] == "POPUP") {
        pending_popup = m[2];
        has_pending = true;
      }
    }
  }
  return done;
}

// The letter a caption underlines (lower case), or 0: "&&" is a plain "&".
inline char Mnemonic(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    const char c = caption[i + 1];
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return 0;
}

}  // namespace qlx::test
