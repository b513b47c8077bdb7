// Every C++ throw in the process goes through __cxa_throw. Defining it here (the executables
// are linked with -rdynamic, so this definition wins over the C++ runtime's) lets us record
// the stack at the raise point, which is gone by the time a handler runs.
#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>

#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <exception>
#include <typeinfo>

#include "platform/ExceptionReport.h"

namespace vantrel {

namespace {

using RealThrow = void (*)(void*, std::type_info*, void (*)(void*));

std::atomic<TExceptionSink> sink{nullptr};
std::atomic<TReportWanted> wantedGate{nullptr};
thread_local bool reporting = false;

RealThrow TheRealThrow() {
    static std::atomic<RealThrow> real{nullptr};
    RealThrow r = real.load(std::memory_order_acquire);
    if (!r) {
        r = reinterpret_cast<RealThrow>(::dlsym(RTLD_NEXT, "__cxa_throw"));
        if (!r) {
            std::fputs("fatal: the C++ runtime's __cxa_throw was not found\n", stderr);
            std::abort();
        }
        real.store(r, std::memory_order_release);
    }
    return r;
}

std::string BaseName(const char* path) {
    if (!path) return {};
    std::string p(path);
    const auto slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

void Report(TExceptionSink s, void* object, std::type_info* type, void* raisePoint) {
    reporting = true;
    try {
        TRaisedException e;
        constexpr int kMaxFrames = 64;
        void* frames[kMaxFrames];
        const int n = ::backtrace(frames, kMaxFrames);
        // The walk starts inside this hook; the stack of interest starts at the raiser.
        int first = 0;
        while (first < n && frames[first] != raisePoint) ++first;
        if (first == n) first = std::min(n, 2);
        e.stack.assign(frames + first, frames + n);
        e.raiseAddress = raisePoint;
        e.typeName = type ? Demangle(type->name()) : std::string("?");
        void* adjusted = object;
        if (type && typeid(std::exception).__do_catch(type, &adjusted, 1)) {
            e.isStdException = true;
            e.message = static_cast<const std::exception*>(adjusted)->what();
        }
        s(e);
    } catch (...) {
        // The report is a side show: it never replaces the exception being raised.
    }
    reporting = false;
}

}  // namespace

void SetExceptionSink(TExceptionSink s, TReportWanted wanted) {
    TheRealThrow();  // resolve it now rather than inside the first throw
    sink.store(nullptr, std::memory_order_release);
    wantedGate.store(wanted, std::memory_order_release);
    sink.store(s, std::memory_order_release);
}

std::string Demangle(const char* mangledName) {
    if (!mangledName) return {};
    int status = 0;
    char* text = abi::__cxa_demangle(mangledName, nullptr, nullptr, &status);
    std::string result = (status == 0 && text) ? text : mangledName;
    std::free(text);
    return result;
}

TStackFrame NameFrame(void* address) {
    TStackFrame f;
    f.address = address;
    // A return address may already lie in the next routine when the call was the last
    // instruction (as calls to __cxa_throw often are), so look up the byte before it.
    const auto where = reinterpret_cast<std::uintptr_t>(address);
    Dl_info info{};
    if (where == 0 || !::dladdr(reinterpret_cast<void*>(where - 1), &info)) return f;
    f.module = BaseName(info.dli_fname);
    f.moduleOffset = where - reinterpret_cast<std::uintptr_t>(info.dli_fbase);
    if (info.dli_sname && info.dli_saddr) {
        f.routine = Demangle(info.dli_sname);
        f.routineOffset = where - reinterpret_cast<std::uintptr_t>(info.dli_saddr);
    }
    return f;
}

std::string FormatFrame(const TStackFrame& frame) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "0x%016" PRIxPTR, reinterpret_cast<std::uintptr_t>(frame.address));
    std::string line = buffer;
    line += ' ';
    line += frame.module.empty() ? std::string("?") : frame.module;
    if (!frame.routine.empty()) {
        std::snprintf(buffer, sizeof buffer, "+0x%" PRIxPTR, frame.routineOffset);
        line += ' ' + frame.routine + buffer;
    } else if (!frame.module.empty()) {
        std::snprintf(buffer, sizeof buffer, " +0x%" PRIxPTR, frame.moduleOffset);
        line += buffer;
    }
    return line;
}

}  // namespace vantrel

extern "C" {

__attribute__((__noreturn__)) void __cxa_throw(void* object, std::type_info* type, void (*destructor)(void*)) {
    const auto real = vantrel::TheRealThrow();
    if (const auto s = vantrel::sink.load(std::memory_order_acquire); s && !vantrel::reporting) {
        const auto wanted = vantrel::wantedGate.load(std::memory_order_acquire);
        if (!wanted || wanted())
            vantrel::Report(s, object, type, __builtin_extract_return_addr(__builtin_return_address(0)));
    }
    real(object, type, destructor);
    __builtin_unreachable();
}

}  // extern "C"
