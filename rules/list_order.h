// The order of the camera list once the user sorts it by a column.
#pragma once

#include <string_view>

namespace rules {

enum class ListColumn { DeviceName, IpAddress, MacAddress, ModelName, FirmwareVersion };

// Whether cell `a` comes before cell `b` in ascending order of `column`:
// IP addresses and firmware versions by their numbers (10.0.0.9 before
// 10.0.0.10), every other text case-insensitively. A cell that holds no
// number ("N/A") comes after those that do; cells that compare equal keep
// their order, which the caller's stable sort preserves.
bool cellBefore(ListColumn column, std::u16string_view a, std::u16string_view b);

}  // namespace rules
