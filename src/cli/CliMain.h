#pragma once

namespace vantrel::cli {

// vantrel-cli: the engine on the command line. Returns the exit status: 0 every file done,
// 1 a file failed or was skipped, 2 a usage error.
int Main(int argc, char** argv);

}  // namespace vantrel::cli
