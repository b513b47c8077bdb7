#pragma once

#include <string_view>

namespace vantrel {

// The application title, the main window's caption when no run is in progress, the name of
// the data folder and the last element of the program's registry key.
inline constexpr std::string_view ProductName = "Vantrel";

// Prepares everything that exists once per process, in one fixed order; each step may rely on
// the ones before it. Catches nothing: a failing step ends the program before any window.
void StartUp();

// Releases what StartUp made, in the order it made it, after the event loop has ended.
void ShutDown();

}  // namespace vantrel
