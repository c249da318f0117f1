#pragma once
// What the tool keeps of a module as tables: the three correction tables edited in the one
// table grid and drawn as the surface, the two emulation curves, and the settings registers
// (kept in the module's history only). Every part that names a table (its file, its copy in
// the history, its surface, its rules in the grid) names it by this one kind.

// The MAF and voltage tables share the module's MAF cells (a module carries one of them);
// the Lambda table shares its cells with the first emulation curve. Lambda, Maf and Voltage
// come first, in this order: they number the tables of the table grid.
enum class TableKind { Lambda, Maf, Voltage, Curve1, Curve2, Settings };

inline constexpr int CorrectionTableCount = 3;

inline constexpr bool isCurve(TableKind kind) { return kind == TableKind::Curve1 || kind == TableKind::Curve2; }
// The kind of emulation curve 1 or 2 (anything else counts as curve 1, as the curve panels count).
inline constexpr TableKind curveKind(int curve) { return curve == 2 ? TableKind::Curve2 : TableKind::Curve1; }
