// The batch mode as a test runs it: one run of zentrik3's command line in a folder of
// its own with an empty configuration, its standard output and error caught.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/batch/Batch.h"
#include "data/TempDir.h"

namespace zentrik::testing {

inline std::string contents(std::FILE* file) {
  std::fflush(file);
  std::rewind(file);
  std::string text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);
  return text;
}

class BatchRun : public ::testing::Test {
 protected:
  struct Run {
    int status;
    std::string out, err;
  };

  Run run(std::vector<std::string> arguments) {
    std::vector<const char*> argv{"zentrik3", "--config"};
    std::string config = dir.write("Zentrik.ini", config_text);
    argv.push_back(config.c_str());
    for (const std::string& a : arguments) argv.push_back(a.c_str());
    BatchOptions options;
    std::string error;
    EXPECT_TRUE(parse_batch_options(static_cast<int>(argv.size()), argv.data(), options, error)) << error;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    BatchUi ui(err);
    Run result;
    result.status = run_batch(options, ui, out, err);
    result.out = contents(out);
    result.err = contents(err);
    return result;
  }

  nlohmann::json report(std::vector<std::string> arguments) {
    arguments.insert(arguments.end(), {"--report", "-"});
    Run r = run(arguments);
    EXPECT_EQ(r.status, 0) << r.err;
    return nlohmann::json::parse(r.out);
  }

  TempDir dir;
  std::string config_text;
};

}  // namespace zentrik::testing
