#include "cli/CliMain.h"

int main(int argc, char** argv) { return vantrel::cli::Main(argc, argv); }
