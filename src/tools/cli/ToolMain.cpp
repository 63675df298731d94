#include "tools/cli/Tool.h"

#include <iostream>

int main(int argc, char** argv) {
    return lcdiag::cli::RunTool(argc, argv, std::cout, std::cerr);
}
