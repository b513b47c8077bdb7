#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

// An exception at the moment it is raised, before any handler has seen it.
struct TRaisedException {
    std::string typeName;      // demangled, e.g. "vantrel::EProfileError"
    std::string message;       // what() for a std::exception, empty otherwise
    bool isStdException = false;
    void* raiseAddress = nullptr;  // the return address in the code that raised it
    std::vector<void*> stack;      // return addresses, innermost (the raise point) first
};

struct TStackFrame {
    void* address = nullptr;
    std::string module;   // file name of the executable or library, without its folder
    std::uintptr_t moduleOffset = 0;
    std::string routine;  // demangled; empty where no symbol covers the address
    std::uintptr_t routineOffset = 0;
};

// Called on the raising thread for every exception raised while a sink is installed,
// whether it is caught later or not. An exception that escapes the sink is swallowed, and
// exceptions raised while a sink runs on that thread are not reported again.
// `wanted`, when given, is asked first on every raise; while it says no, nothing is recorded,
// so an installed but idle report costs next to nothing.
using TExceptionSink = void (*)(const TRaisedException&);
using TReportWanted = bool (*)();
void SetExceptionSink(TExceptionSink sink, TReportWanted wanted = nullptr);  // nullptr sink: off

// Symbol lookup for recorded addresses; costly, so done by the sink only when it reports.
TStackFrame NameFrame(void* address);
// "0x00005581c1a2b3c4 core_tests vantrel::Foo()+0x5c", or "... libc.so.6 +0x271ca"
// (module offset) where no symbol is known.
std::string FormatFrame(const TStackFrame& frame);
std::string Demangle(const char* mangledName);

}  // namespace vantrel
