// vantrel-context-menu: what the file managers' entries call to hand a selection to Vantrel.
#include <string>
#include <vector>

#include "shell/ContextMenuHandOver.h"

int main(int argc, char** argv) {
    return vantrel::RunContextMenuHandOver(std::vector<std::string>(argv + 1, argv + argc));
}
