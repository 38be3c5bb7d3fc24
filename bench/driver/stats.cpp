#include "driver/stats.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace bench {
namespace {

constexpr size_t kColumns = 9;
using Cells = std::array<std::string, kColumns>;

std::string Printed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string SampleCounts(const Series& series) {
  std::string counts = std::to_string(series.vantisk.size());
  for (const std::vector<double>* other : {&series.reference, &series.themed}) {
    if (other->empty()) continue;
    counts += '/';
    counts += std::to_string(other->size());
  }
  return counts;
}

std::string RatioCell(double vantisk, double reference) {
  const std::optional<double> ratio = Ratio(vantisk, reference);
  return ratio ? Printed("%.2fx", *ratio) : "-";
}

Cells CellsOf(const Row& row) {
  const double vantisk = Median(row.series.vantisk);
  const double reference = Median(row.series.reference);
  const double themed = Median(row.series.themed);
  return {row.what,
          SampleCounts(row.series),
          FormatValue(vantisk, row.unit),
          row.series.reference.empty() ? "-" : FormatValue(reference, row.unit),
          RatioCell(vantisk, reference),
          row.series.themed.empty() ? "-" : FormatValue(themed, row.unit),
          RatioCell(vantisk, themed),
          row.goal ? FormatGoal(*row.goal, row.unit) : "-",
          Verdict(row)};
}

std::string Line(const Cells& cells, const std::array<size_t, kColumns>& widths) {
  std::string line;
  for (size_t column = 0; column < kColumns; ++column) {
    const std::string& cell = cells[column];
    const std::string padding(widths[column] - cell.size(), ' ');
    // Text left, figures right: the figures' decimal points then line up.
    line += column == 0 ? cell + padding : padding + cell;
    if (column + 1 < kColumns) line += "  ";
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line + "\n";
}

}  // namespace

double Median(std::vector<double> values) {
  if (values.empty()) return std::nan("");
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  if (values.size() % 2 == 1) return values[middle];
  return (values[middle - 1] + values[middle]) / 2;
}

std::optional<double> Ratio(double vantisk, double reference) {
  if (std::isnan(vantisk) || std::isnan(reference) || reference <= 0) return std::nullopt;
  return vantisk / reference;
}

std::string Verdict(const Row& row) {
  if (!row.goal) return {};
  const double vantisk = Median(row.series.vantisk);
  const double reference = Median(row.series.reference);
  if (std::isnan(vantisk) || std::isnan(reference)) return {};
  return vantisk <= row.goal->factor * reference + row.goal->allowance ? "met" : "missed";
}

std::string FormatValue(double value, Unit unit) {
  if (std::isnan(value)) return "-";
  switch (unit) {
    case Unit::Milliseconds:
      return Printed(value >= 100 ? "%.0f ms" : "%.1f ms", value);
    case Unit::CpuSecondsPerMinute:
      return Printed("%.3f s", value);
    case Unit::MiB:
      return Printed("%.1f MiB", value);
    case Unit::KiB:
      return Printed("%.0f KiB", value);
  }
  return "-";
}

std::string FormatGoal(const Goal& goal, Unit unit) {
  std::string text = Printed("<= %.2gx", goal.factor);
  if (goal.allowance > 0) text += " + " + FormatValue(goal.allowance, unit);
  return text;
}

std::string RenderTable(const std::vector<Row>& rows) {
  std::vector<Cells> table{{"", "n", "Vantisk", "Reference", "Ratio", "Themed ref", "Ratio", "Goal", "Verdict"}};
  for (const Row& row : rows) table.push_back(CellsOf(row));
  std::array<size_t, kColumns> widths{};
  for (const Cells& cells : table) {
    for (size_t column = 0; column < kColumns; ++column) {
      widths[column] = std::max(widths[column], cells[column].size());
    }
  }
  std::string text;
  for (const Cells& cells : table) text += Line(cells, widths);
  return text;
}

}  // namespace bench
