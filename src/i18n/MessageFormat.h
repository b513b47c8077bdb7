#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace vantrel {

// Fills a message constant's "%s" and "%d" places in order with the texts given (numbers
// already written as text); "%%" stands for "%".
std::string FormatMessageText(std::string_view format, std::initializer_list<std::string> args);

}  // namespace vantrel
