#pragma once

#include <filesystem>

namespace faultscope::test {

// The project's root folder, where the tests run.
inline std::filesystem::path SourceDir() {
    return FAULTSCOPE_SOURCE_DIR;
}

// Small fixtures kept in the repository.
inline std::filesystem::path DataDir() {
    return SourceDir() / "tests" / "data";
}

// Records from other people's recorders, kept outside the repository.
inline std::filesystem::path SamplesDir() {
    return SourceDir().parent_path() / "shared" / "samples";
}

}  // namespace faultscope::test
