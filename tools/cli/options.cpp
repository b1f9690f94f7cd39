#include "options.h"

namespace cli {

Options::Options(const std::vector<std::string>& args, const std::set<std::string>& valued,
                 const std::set<std::string>& flags) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (flags.count(arg) != 0) {
            flags_.insert(arg);
        } else if (valued.count(arg) != 0) {
            if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
            values_[arg].push_back(args[++i]);
        } else {
            throw UsageError("unknown option " + arg);
        }
    }
}

std::string Options::value(const std::string& name, const std::string& otherwise) const {
    auto it = values_.find(name);
    return it == values_.end() ? otherwise : it->second.back();
}

std::string Options::required(const std::string& name) const {
    if (values_.count(name) == 0) throw UsageError(name + " is required");
    return value(name);
}

std::vector<std::string> Options::all(const std::string& name) const {
    auto it = values_.find(name);
    return it == values_.end() ? std::vector<std::string>{} : it->second;
}

}  // namespace cli
