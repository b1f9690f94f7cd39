// What the camera list shows in its firmware column.
#pragma once

#include <string>
#include <string_view>

namespace rules {

// A version of exactly three dot-separated pieces is shown as it is, with an
// upgrade note when major <= 0, minor <= 3 and patch <= 3 (each piece read as
// a leading decimal number, 0 when it has none); any other version is "N/A".
std::u16string versionCell(std::u16string_view version);

// An empty field is shown as "N/A".
std::u16string fieldCell(std::u16string_view text);

}  // namespace rules
