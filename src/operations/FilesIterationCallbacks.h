#pragma once

#include <cstdint>
#include <string>

// What the progress window reads of the current run, each a default while no run exists.
namespace vantrel {

double GetElapsedTime();    // seconds
double GetRemainingTime();  // seconds
std::string GetCurrentFileName();
int GetCurrentFileIndex();
int GetFileCount();
std::int64_t GetDoneBytes();
std::int64_t GetTotalBytes();  // never below 1
std::int64_t GetCurrentFileDone();
std::int64_t GetCurrentFileTotal();

}  // namespace vantrel
