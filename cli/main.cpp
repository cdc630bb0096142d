#include "cli/Program.h"

#include <cstdio>
#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char *argv[]) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return cli::Run(args, {stdin, stdout, std::cerr, cli::UserNumberFormat});
}
