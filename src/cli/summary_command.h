#pragma once

#include <QString>
#include <ostream>
#include <string>
#include <vector>

#include "core/record/text_encoding.h"

namespace faultscope::cli {

struct SummaryRequest {
    std::vector<std::string> records;  // as given on the command line
    TextEncoding encoding = TextEncoding::Windows;
    QString traceFolder;
    unsigned jobs = 1;  // records summarised at once
    bool useTemplate = true;
};

// `summary`: one JSON object per record on a line of its own (JSON Lines, see SummariseRecord),
// in the order of the records. Up to `jobs` worker threads each load and summarise whole
// records, so no more records are in memory than there are workers; while several run, each
// load reads on one thread. A line is written as soon as it and every line before it are done.
// A record that fails gives its error line and the run goes on. The load warnings go to `err`
// with the record's name, in the same order. Returns 1 when some record failed, otherwise 0;
// throws OutputError when `out` refuses a line, after the workers have stopped.
int RunSummary(const SummaryRequest& request, std::ostream& out, std::ostream& err);

}  // namespace faultscope::cli
