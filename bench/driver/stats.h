// Medians, ratios against the reference, goals and the printed table. Pure
// logic, tested in tests/bench_logic_test.cpp.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace bench {

// The bare reference, and the same with Vantisk's manifest and one themed
// button (Themed): between them lies what the platform's themed controls cost.
enum class Side { Vantisk, Reference, Themed };

// Samples of one figure for the programs (reference empty: Vantisk only;
// themed empty: not measured for the themed reference).
struct Series {
  std::vector<double> vantisk;
  std::vector<double> reference;
  std::vector<double> themed;
  void Add(Side side, double value) {
    (side == Side::Vantisk ? vantisk : side == Side::Reference ? reference : themed).push_back(value);
  }
};

enum class Unit { Milliseconds, CpuSecondsPerMinute, MiB, KiB };

// Met when Vantisk's median <= factor * reference's median + allowance,
// the allowance in the row's unit.
struct Goal {
  double factor = 1.0;
  double allowance = 0.0;
};

struct Row {
  std::string what;
  Unit unit = Unit::Milliseconds;
  Series series;
  std::optional<Goal> goal;
};

// NaN for no samples; the mean of the middle two for an even count.
double Median(std::vector<double> values);
// Vantisk / reference; nullopt when the reference is not positive or either is NaN.
std::optional<double> Ratio(double vantisk, double reference);
// "met", "missed", or "" when there is no goal or too few samples to judge.
std::string Verdict(const Row& row);
std::string FormatValue(double value, Unit unit);
std::string FormatGoal(const Goal& goal, Unit unit);
// One line per row under a header, columns aligned; medians, not samples.
// Goals are judged against the bare reference; the themed reference's column
// and ratio stand beside it.
std::string RenderTable(const std::vector<Row>& rows);

}  // namespace bench
