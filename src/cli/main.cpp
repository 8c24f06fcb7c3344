#include <QCoreApplication>
#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("Faultscope");
    std::vector<std::string> args;
    for (const QString& a : QCoreApplication::arguments().mid(1)) {
        args.push_back(a.toStdString());
    }
    std::ios::sync_with_stdio(false);
    return faultscope::cli::Run(args, std::cout, std::cerr);
}
