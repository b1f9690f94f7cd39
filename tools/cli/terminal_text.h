// Camera-reported text made safe to print on a terminal.
#pragma once

#include <string>
#include <string_view>

namespace cli {

// Control characters (C0, DEL, and C1 written in UTF-8) and bytes that are not
// valid UTF-8 become "\xHH", so that a camera's name can neither drive the
// terminal nor break a line of the table. Everything else is kept.
std::string terminalText(std::string_view text);

// The columns a text made by terminalText takes on a terminal, to line up a
// table: one per character, two for the wide characters of East Asian scripts
// and most pictographs, none for combining marks.
size_t terminalColumns(std::string_view text);

}  // namespace cli
