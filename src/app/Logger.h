#pragma once

#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/ExceptionReport.h"
#include "platform/SysError.h"  // FormatSysError, for the callers' log messages

namespace vantrel {

// The debug log: lines reach the file only when the program was started with the switch.
// Log and LogLine may be called from any thread; each line is written whole, by one
// open-append-close under one lock, so the file is complete up to the last line even when
// the program dies right after it. A line that cannot be written raises EFileError.

// The log file becomes the data folder + the executable's file name + ".log"; logging is on
// when one of the arguments (the program path not counted) equals Switch exactly. Without
// `arguments`, the process's own command line is read.
void InitLogger(const std::string& Switch);
void InitLogger(const std::string& Switch, const std::vector<std::string>& arguments);
// Reports every exception raised in the process, caught or not, with the stack of its raise
// point, through LogLine.
void InstallExceptionReport();

void LogLine(const std::string& text);
// "<time stamp> <location>: <message>"
void Log(const std::string& message, const std::string& location);

bool DebugEnabled();
std::string LogFileName();

// The routine that writes one line (UTF-8 text, without its line break). InitLogger sets it
// to the file writer; nullptr also selects it.
using TLineWriter = void (*)(const std::string& text);
void SetLineWriter(TLineWriter writer);

// "d.m.yy hh:nn:ss:zzz"
std::string FormatLogTimeStamp(const TLocalTime& time);
// "Exception <class> in module <module> at <offset>." and the message on the next line,
// cut to 1024 characters.
std::string ExceptionReportText(const TRaisedException& e);
// The whole report of one raised exception, as the hook writes it: an empty line, "Time: ",
// the report text, the stack between its two marker lines. Written only when DebugEnabled.
void ReportException(const TRaisedException& e);

}  // namespace vantrel
