// The large data file the benchmarks read: lines like "123456 12.3456 -0.12345",
// written once into the temporary folder and kept for later runs.
#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace zentrik::bench {

inline std::string logger_file(long lines) {
  std::string path = (std::filesystem::temp_directory_path() /
                      ("zentrik-bench-" + std::to_string(lines) + ".dat")).string();
  if (std::filesystem::exists(path)) return path;
  std::FILE* out = std::fopen(path.c_str(), "w");
  for (long i = 0; i < lines; ++i)
    std::fprintf(out, "%06ld %.4f %.5f\n", 100000 + i % 900000, 10 + (i % 10000) * 0.0001,
                 -0.5 + (i % 77777) * 0.00001);
  std::fclose(out);
  return path;
}

inline double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace zentrik::bench
