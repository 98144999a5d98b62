// A plot computed as the program computes it (points, then the scaling pass) over a
// data set given as text, ready to be drawn. X is C1 and Y is C2 unless a test
// chooses other formulas; settings are changed before compute().
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/DataFile.h"
#include "plot/Calculation.h"
#include "plot/Scaling.h"
#include "ui/ScriptedUi.h"

namespace zentrik::testing {

class ComputedPlot {
 public:
  explicit ComputedPlot(std::string_view lines, std::vector<std::string> y_formulas = {"C2"},
                        std::string x_formula = "C1")
      : data_(std::make_unique<DataFile>("/data/run.dat")) {
    data_->store_text(lines);
    window.data = data_.get();
    window.definition.formulas = {Formula(std::move(x_formula))};
    for (std::string& text : y_formulas) window.definition.formulas.emplace_back(std::move(text));
  }

  PlotDefinition& definition() { return window.definition; }
  Formula& y(std::size_t i = 1) { return window.definition.formulas[i]; }
  DataFile& data() { return *data_; }

  // The point calculation and a scaling pass that finds the ranges anew.
  void compute() {
    prepare_calculation(window);
    CalculationEnvironment calculation{ui};
    ASSERT_EQ(calculatePoints(window, calculation), CalculationOutcome::Done);
    ScalingEnvironment scaling{ui, defaults};
    ASSERT_EQ(scale(window, true, scaling), ScaleResult::Done);
  }

  PlotWindow window;
  ScriptedUi ui;
  DefaultPlot defaults;

 private:
  std::unique_ptr<DataFile> data_;
};

}  // namespace zentrik::testing
