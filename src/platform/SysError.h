#pragma once

#include <string>

namespace vantrel {

// The system's text for an error number, framed as "Error #%d %s".
std::string FormatSysError(int code);

}  // namespace vantrel
