// Medians, ratios against the reference, goals and the printed table. Pure
// logic, tested in tests/bench_logic_test.cpp.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace bench {

enum class Side { Vantisk, Reference };

// Samples of one figure for both programs (reference empty: Vantisk only).
struct Series {
  std::vector<double> vantisk;
  std::vector<double> reference;
  void Add(Side side, double value) { (side == Side::Vantisk ? vantisk : reference).push_back(value); }
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
std::string RenderTable(const std::vector<Row>& rows);

}  // namespace bench
