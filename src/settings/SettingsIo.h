// Moving the settings record and the task list in and out of the INI file.
#pragma once

#include <string>
#include <string_view>

#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "tasks/TaskTable.h"

namespace lumivar {

// The reversible shift of the stored passwords, on GBK bytes: blanks trimmed
// from both ends, then +3 (encode) or -3 (decode) per byte. A 0xFD byte would
// encode to NUL, so it is stored as 0x03 instead, a byte no older file holds.
std::string ScramblePassword(std::string_view gbkBytes, bool encode);

// Reads every setting and task entry present in the file; whatever is missing
// keeps its current value. Entries without a time or without any text are
// dropped and the rest close up in file order.
void ReadSettings(const IniFile& ini, Settings& s, TaskList& tasks);

// Writes every setting and the task entries in use; keys of entries no longer
// in use disappear.
void WriteSettings(IniFile& ini, const Settings& s, const TaskList& tasks);

}  // namespace lumivar
