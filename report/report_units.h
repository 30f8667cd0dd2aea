#pragma once

// Lengths of report objects are floating-point units of 1/96 inch; paper is in millimetres.
namespace zreport {

inline constexpr double kUnitsPerMm = 3.77953;
inline constexpr double kUnitsPerInch = 96.0;
// Text is measured on a virtual device of this resolution (dots per inch).
inline constexpr int kMeasureDpi = 600;
inline constexpr double kDotsPerUnit = double(kMeasureDpi) / kUnitsPerInch; // 6.25

inline double mmToUnits(double mm)
{
    return mm * kUnitsPerMm;
}

} // namespace zreport
