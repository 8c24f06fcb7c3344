#include <QCoreApplication>
#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("Faultscope");
    // The arguments as the system gives them: a file name need not be valid text.
    std::vector<std::string> args(argv + 1, argv + argc);
    std::ios::sync_with_stdio(false);
    return faultscope::cli::Run(args, std::cout, std::cerr);
}
