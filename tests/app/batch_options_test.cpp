#include "app/batch/BatchOptions.h"

#include <gtest/gtest.h>

#include <vector>

namespace zentrik {
namespace {

struct Parsed {
  bool ok;
  BatchOptions options;
  std::string error;
};

Parsed parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "zentrik3");
  Parsed parsed;
  parsed.ok = parse_batch_options(static_cast<int>(arguments.size()), arguments.data(), parsed.options, parsed.error);
  return parsed;
}

TEST(BatchOptions, EveryOptionIsRead) {
  Parsed p = parse({"run.dat", "more.dat", "--export", "plot.PNG", "--size=640x480", "--title", "Run 5",
                    "--output-data", "-", "--report", "r.json", "--setup", "a.psu", "--x", "TD(1,1)", "--y", "C2",
                    "--y=C3*2", "--skip", "3", "--every", "10", "--keep", "+2", "--where", "C2>0", "--histogram",
                    "--stats", "off", "--legend", "on", "--regress", "on", "--on-error", "truncate",
                    "--concatenate", "lines", "--config", "z.ini", "--allow-commands", "--timeout", "90", "--",
                    "--odd-name"});
  ASSERT_TRUE(p.ok) << p.error;
  const BatchOptions& o = p.options;
  EXPECT_EQ(o.files, (std::vector<std::string>{"run.dat", "more.dat", "--odd-name"}));
  EXPECT_EQ(*o.export_path, "plot.PNG");
  EXPECT_EQ(*o.width, 640);
  EXPECT_EQ(*o.height, 480);
  EXPECT_EQ(*o.title, "Run 5");
  EXPECT_EQ(*o.output_data, "-");
  EXPECT_EQ(*o.x, "TD(1,1)");
  EXPECT_EQ(o.y, (std::vector<std::string>{"C2", "C3*2"}));
  EXPECT_EQ(*o.skip, 3);
  EXPECT_EQ(*o.every, 10);
  EXPECT_EQ(*o.keep, 2);
  EXPECT_EQ(*o.where, "C2>0");
  EXPECT_TRUE(o.histogram);
  EXPECT_FALSE(*o.stats);
  EXPECT_TRUE(*o.legend && *o.regress);
  EXPECT_EQ(o.on_error, CalculationAction::PlotToHere);
  EXPECT_EQ(o.how_added, 6);
  EXPECT_TRUE(o.allow_commands);
  EXPECT_EQ(*o.timeout, 90);
  EXPECT_TRUE(o.batch());
}

TEST(BatchOptions, BadUsageNamesTheOption) {
  auto error_of = [](std::vector<const char*> arguments) {
    Parsed p = parse(std::move(arguments));
    EXPECT_FALSE(p.ok);
    return p.error;
  };
  EXPECT_EQ(error_of({"a.dat", "--export", "a.png", "--colour", "red"}), "unknown option --colour");
  EXPECT_EQ(error_of({"a.dat", "--export"}), "--export needs a value");
  EXPECT_EQ(error_of({"a.dat", "--export", "a.png", "--size", "640"}), "bad value for --size: 640");
  EXPECT_EQ(error_of({"a.dat", "--export", "a.png", "--size", "0x480"}), "bad value for --size: 0x480");
  EXPECT_EQ(error_of({"a.dat", "--report", "-", "--skip", "ten"}), "bad value for --skip: ten");
  EXPECT_EQ(error_of({"a.dat", "--report", "-", "--skip", "-1"}), "bad value for --skip: -1");
  EXPECT_EQ(error_of({"a.dat", "--report", "-", "--keep=-3"}), "bad value for --keep: -3");
  EXPECT_EQ(error_of({"a.dat", "--report", "-", "--timeout", "0"}), "bad value for --timeout: 0");
  EXPECT_EQ(error_of({"a.dat", "--report", "-", "--timeout=-5"}), "bad value for --timeout: -5");
  EXPECT_EQ(error_of({"a.dat", "--report", "-", "--timeout", "2.5"}), "bad value for --timeout: 2.5");
  EXPECT_EQ(error_of({"a.dat", "--report", "-", "--timeout", "99999999999"}), "bad value for --timeout: 99999999999");
  EXPECT_EQ(error_of({"a.dat", "--check", ""}), "bad value for --check: ");
  EXPECT_EQ(error_of({"a.dat", "--check", "  "}), "bad value for --check:   ");
  EXPECT_EQ(error_of({"a.dat", "--report", "-", "--stats", "yes"}), "bad value for --stats: yes");
  EXPECT_EQ(error_of({"a.dat", "--report", "-", "--on-error", "retry"}), "bad value for --on-error: retry");
  EXPECT_EQ(error_of({"a.dat", "--report", "-", "--concatenate", "both"}), "bad value for --concatenate: both");
  EXPECT_EQ(error_of({"a.dat", "--export", "a.jpg"}), "--export: the file name must end in .png, .svg or .pdf: a.jpg");
  EXPECT_EQ(error_of({"a.dat", "b.dat", "--report", "-"}), "several files need --concatenate lines or --concatenate files");
  EXPECT_EQ(error_of({"--report", "-"}), "no data file, plot object or URL given");
  EXPECT_EQ(error_of({"a.dat", "--y", "C2"}), "these options need one of --export, --output-data, --report or --check");
  EXPECT_EQ(error_of({"http://h/a.dat", "--timeout", "5"}),
            "these options need one of --export, --output-data, --report or --check");
}

TEST(BatchOptions, WithoutAnOutputTheDesktopProgramRuns) {
  Parsed p = parse({"a.dat"});
  ASSERT_TRUE(p.ok);
  EXPECT_FALSE(p.options.batch());
  EXPECT_TRUE(parse({"--help"}).options.help);
  EXPECT_TRUE(parse({"--version"}).options.version);
}

}  // namespace
}  // namespace zentrik
