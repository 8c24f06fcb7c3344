#pragma once

#include <gtest/gtest.h>
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

// Runs each argument list and expects it refused as wrong arguments: exit status 2, the usage
// on standard error and nothing on standard output.
inline void ExpectUsageErrors(const std::vector<std::vector<std::string>>& cases) {
    for (const std::vector<std::string>& args : cases) {
        std::string named;
        for (const std::string& arg : args) {
            named += arg + ' ';
        }
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.status, 2) << named;
        EXPECT_NE(r.err.find("Usage:"), std::string::npos) << named;
        EXPECT_TRUE(r.out.empty()) << named;
    }
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
