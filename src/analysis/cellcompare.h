#pragma once
// Two recordings over the same table, cell by cell: the difference of their means (the
// main recording minus the comparison recording) and its texts. A cell has a difference
// only where both recordings have samples. Pure code.

#include "analysis/cellstats.h"

#include <QString>

#include <optional>

namespace analysis {

// main.mean() - reference.mean(); nothing when either cell has no sample.
std::optional<double> meanDifference(const CellStats& main, const CellStats& reference);

// A difference as the window writes it: at most three decimals in the locale's form, a
// true minus sign ("−0,8") before a negative one, none before zero.
QString differenceText(double difference);

// The tool tip of a cell compared ("Отсчётов: 41 / 37", "Среднее: 14,6 / 15,4",
// "Разность: −0,8"; in English "Samples", "Mean", "Difference"): the main recording first.
// A side without samples has the mean "—" and the difference line is left out; empty when
// neither side has a sample.
QString differenceToolTip(const CellStats& main, const CellStats& reference, bool english);

} // namespace analysis
