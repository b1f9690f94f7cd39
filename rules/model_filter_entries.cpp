#include "model_filter_entries.h"

#include <algorithm>

namespace rules {

std::vector<std::u16string> modelFilterEntries(const std::vector<std::u16string>& models) {
    std::vector<std::u16string> entries{u"None", u"All"};
    for (size_t i = 0; i < models.size(); ++i) {
        const bool listed = std::find(entries.begin() + 2, entries.end(), models[i]) != entries.end();
        if (i == 0 || (!models[i].empty() && !listed)) entries.push_back(models[i]);
    }
    return entries;
}

}  // namespace rules
