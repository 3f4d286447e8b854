// Reading the command lines of vizhost and vizgallery: numbers and the value after an option.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

namespace vizhost {

// The whole text as a finite number; nothing else, not even trailing spaces.
bool parseFloat(const std::string& text, float& value);

// The value after the option args[i], which must be one of valued; advances i past it. Null,
// with the error set, for an unknown option or one at the end or followed by an empty word.
const std::string* optionValue(const std::vector<std::string>& args, size_t& i,
                               std::initializer_list<const char*> valued, std::string& error);

// Reads --analyzer, --analyzer=1 and --analyzer=compact into `analyzer` ("1" or "compact").
// False when `arg` is no analyzer option; true with `error` set for one with another value.
bool parseAnalyzerOption(const std::string& arg, std::string& analyzer, std::string& error);

}  // namespace vizhost
