// The entries of the (hidden) model filter.
#pragma once

#include <string>
#include <vector>

namespace rules {

// "None", "All", then the cameras' model names in camera order, each once:
// the first camera's always (even when empty), a later one's when it is not
// empty and not yet listed (exact comparison).
std::vector<std::u16string> modelFilterEntries(const std::vector<std::u16string>& models);

}  // namespace rules
