#include "option_parsing.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace vizhost {

bool parseFloat(const std::string& text, float& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const float v = std::strtof(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(v)) {
        return false;
    }
    value = v;
    return true;
}

const std::string* optionValue(const std::vector<std::string>& args, size_t& i,
                               std::initializer_list<const char*> valued, std::string& error) {
    const std::string& arg = args[i];
    if (std::find(valued.begin(), valued.end(), arg) == valued.end()) {
        error = "unknown option " + arg;
        return nullptr;
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = "the option " + arg + " needs a value";
        return nullptr;
    }
    return &args[++i];
}

bool parseAnalyzerOption(const std::string& arg, std::string& analyzer, std::string& error) {
    static const std::string kOption = "--analyzer";
    if (arg == kOption || arg == kOption + "=1") {
        analyzer = "1";
    } else if (arg == kOption + "=compact") {
        analyzer = "compact";
    } else if (arg.compare(0, kOption.size() + 1, kOption + "=") == 0) {
        error = "--analyzer takes no value or =compact, not '" + arg + "'";
    } else {
        return false;
    }
    return true;
}

}  // namespace vizhost
