#pragma once
// Macro text to script lines and back: the reader (BuildTheScript), the
// display texts of lines, the indentation of paired commands (SetIndents)
// and the writer.
#include <string>
#include <string_view>
#include <vector>

#include "editor/script_model.h"

namespace qlx::editor {

// The reader's display texts and the dialogs' differ in a few places (the
// current window, "Activate or Launch", web addresses).
enum class DisplayFor : uint8_t { Reader, Dialog };

std::string DisplayText(const Params& params, DisplayFor who);

// The example a date or time format gives for the sample moment Monday 30
// March 1998, 15:04:23 (dates with leading zeros, times without).
std::string DateExample(int format);
std::string TimeExample(int format);

// Reads macro text into script lines: one line per command the language
// recognises and one "Text" line per run of text between them. Never fails:
// what it does not recognise is text. Lines read from the text carry the
// token as it stood (ScriptLine::source).
std::vector<ScriptLine> BuildTheScript(std::string_view macro_text);

// Indents the lines between paired commands by three spaces per open
// level; display only.
void SetIndents(std::vector<ScriptLine>& lines);

// The token a record stands for, in the writer's formats.
std::string TokenOf(const Params& params);

// The macro text of a script: each line's token in order (a line whose
// text names no command contributes nothing). A line read from the text and
// left unchanged gives back the token as it stood.
std::string WriteScript(const std::vector<ScriptLine>& lines);

// A macro text holds at most 5000 characters.
inline constexpr size_t kMacroTextLimit = 5000;
// The message shown before a text over the limit is cut.
std::string TruncationMessage();

// A line made or changed by a dialog.
ScriptLine LineFromDialog(Params params);

}  // namespace qlx::editor
