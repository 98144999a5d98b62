// The batch mode against files that are not what they seem: devices that never end,
// pipes, a disk that fills up, a configuration that is far too large. Every run ends
// with a message and a status, and no older output is damaged.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "BatchRun.h"

namespace zentrik {
namespace {

using Hostile = testing::BatchRun;

TEST_F(Hostile, DevicesAreRefusedWithoutBeingRead) {
  const std::string data = dir.write("run.dat", "1 2\n2 3\n3 5\n");
  Run as_data = run({"/dev/zero", "--report", "-"});
  EXPECT_EQ(as_data.status, 1);
  EXPECT_EQ(as_data.err, "Error!: Can't open file:  /dev/zero:\n\nIs a device, not a file\n");

  const std::string object = dir.write("zero.zko", "#!zentrik /dev/zero\n\nversion 3.4\n");
  Run named_by_object = run({object, "--report", "-"});
  EXPECT_EQ(named_by_object.status, 1);
  EXPECT_EQ(named_by_object.err,
            "Error!: Can't open data file associated with Zentrik object:  /dev/zero:\n\nIs a device, not a file\n");

  Run as_config = run({data, "--config", "/dev/zero", "--report", "-"});
  EXPECT_EQ(as_config.status, 1);
  EXPECT_EQ(as_config.err, "zentrik3: cannot read the configuration file /dev/zero: Is a device, not a file\n");

  Run as_setup = run({data, "--setup", "/dev/zero", "--report", "-"});
  EXPECT_EQ(as_setup.status, 1);
  EXPECT_EQ(as_setup.err, "File Open Error!: Can't open /dev/zero\n");
  EXPECT_EQ(as_setup.out, "");
}

// A writer on another thread feeds each pipe as another program would.
class Feeder {
 public:
  Feeder(const std::string& path, std::string text)
      : thread_([path, text] { std::ofstream(path, std::ios::binary) << text; }) {}
  ~Feeder() { thread_.join(); }

 private:
  std::thread thread_;
};

TEST_F(Hostile, PipesAreReadOnceWhateverTheyHold) {
  const std::string data_pipe = dir.path("data.fifo");
  ASSERT_EQ(mkfifo(data_pipe.c_str(), 0600), 0);
  {
    Feeder feeder(data_pipe, "1 2\n2 4\n3 6\n");
    Run r = run({data_pipe, "--x", "C1", "--y", "C2", "--output-data", "-"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1 2\n2 4\n3 6\n");
  }

  // A plot object in a pipe is read for its first line, its settings and its
  // excluded lines, all from the one read.
  const std::string data = dir.write("run.dat", "1 2\n2 3\n3 5\n4 7\n5 11\n");
  const std::string object_pipe = dir.path("plot.fifo");
  ASSERT_EQ(mkfifo(object_pipe.c_str(), 0600), 0);
  {
    Feeder feeder(object_pipe, "#!zentrik " + data + "\n\nversion 3.4\nexcludes:\n2\n4\nend_excludes:\n");
    nlohmann::json r = report({object_pipe});
    EXPECT_EQ(r["data"]["loaded"], 5);
    EXPECT_EQ(r["data"]["excluded"], nlohmann::json::array({2, 4}));
  }

  const std::string config_pipe = dir.path("config.fifo");
  ASSERT_EQ(mkfifo(config_pipe.c_str(), 0600), 0);
  {
    Feeder feeder(config_pipe, "new_points 1\nnew_lines 0\n");
    Run r = run({data, "--config", config_pipe, "--output-data", "-"});
    EXPECT_EQ(r.status, 0) << r.err;
  }

  // What a shell's <(command) hands over: an inherited pipe's descriptor.
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  std::thread writer([&] {
    const std::string text = "10 1\n20 2\n";
    EXPECT_EQ(write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    close(ends[1]);
  });
  Run inherited = run({"/dev/fd/" + std::to_string(ends[0]), "--x", "C1", "--y", "C2", "--output-data", "-"});
  writer.join();
  close(ends[0]);
  EXPECT_EQ(inherited.status, 0) << inherited.err;
  EXPECT_EQ(inherited.out, "10 1\n20 2\n");
}

std::size_t files_in(const std::string& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

TEST_F(Hostile, AFullDiskFailsEveryOutputAndKeepsTheOldFiles) {
  std::string lines;
  for (int i = 1; i <= 500; ++i) lines += std::to_string(i) + " " + std::to_string(i * i % 97) + "\n";
  const std::string data = dir.write("run.dat", lines);
  const std::string config = dir.write("Zentrik.ini", "");
  const std::size_t files_before = files_in(dir.path(""));
  for (const std::string option : {"--export", "--output-data", "--report"}) {
    for (const std::string name : {"old.png", "old.svg", "old.pdf", "old.txt"}) {
      if ((option == "--export") == (name == "old.txt")) continue;
      const std::string old = dir.write(name, "the user's older " + name);
      Run r;
      {
        testing::FileSizeLimit full_disk(1024);
        r = run({data, option, old});
      }
      EXPECT_EQ(r.status, 1) << option << " " << name;
      EXPECT_NE(r.err.find("File too large"), std::string::npos) << r.err;
      EXPECT_EQ(testing::read_file(old), "the user's older " + name) << option;
    }
  }
  EXPECT_EQ(files_in(dir.path("")), files_before + 4);  // the old files, and no temporary one

  Run device = run({data, "--report", "/dev/full"});
  EXPECT_EQ(device.status, 1);
  EXPECT_EQ(device.err, "zentrik3: /dev/full not written: No space left on device\n");
  Run points = run({data, "--output-data", "/dev/full"});
  EXPECT_EQ(points.status, 1);
  EXPECT_EQ(points.err, "File Write Error!: Error writing /dev/full:\n\nNo space left on device\n");
}

TEST_F(Hostile, AConfigurationBeyondTheSizeLimitSaysSo) {
  const std::string data = dir.write("run.dat", "1 2\n2 3\n");
  const std::string huge = dir.path("huge.ini");
  std::ofstream(huge).close();
  std::filesystem::resize_file(huge, 65 << 20);  // sparse: nothing is written
  Run r = run({data, "--config", huge, "--report", "-"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "zentrik3: cannot read the configuration file " + huge + ": File too large\n");
}

}  // namespace
}  // namespace zentrik
