#pragma once

#include <QString>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace faultscope::test {

// What one run of faultscope-cli gave.
struct CliResult {
    int status = 0;
    std::string out;
    std::string err;
};

// Runs the command line with `args` (no trace files are written).
inline CliResult RunCli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::Run(args, QString(), out, err);
    return {status, out.str(), err.str()};
}

// The fields of one CSV line (no quoting: the commands print none).
inline std::vector<std::string> CsvFields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    std::string field;
    while (std::getline(in, field, ',')) {
        fields.push_back(field);
    }
    if (!line.empty() && line.back() == ',') {
        fields.emplace_back();
    }
    return fields;
}

// The rows of CSV text, its header first.
inline std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        rows.push_back(CsvFields(line));
    }
    return rows;
}

}  // namespace faultscope::test
