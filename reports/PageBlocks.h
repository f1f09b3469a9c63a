// The blocks that the reports share: company header, title, aircraft header, new values,
// C.G. ranges, the mechanic's signature line and the notes.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "reports/Page.h"
#include "reports/ReportInput.h"
#include "worksheet/Decimal.h"

namespace wb {

// Rules run across the page between these x positions.
inline constexpr double kRuleLeft = 100;
inline constexpr double kRuleRight = 11510;
inline constexpr int kHeavyPen = 4;
inline constexpr int kThinPen = 1;
// Between the feet of a line of text (its descenders) and a rule under it, so that no rule
// touches the ink, whatever the pen's width on the printer.
inline constexpr double kRuleClearance = 30;

// Which company title heads a report.
enum class TitleField { FormTitle, EquipTitle };

// Numeric value of a text, by the one rule that turns text into numbers.
double ValueOf(std::string_view text);
// The maximum weight as typed, with its unit after a number alone: "2300 lb".
std::string MaxWeightText(const ReportInput& in);
// "Weights in kg, arms in mm, moments in kg-mm".
std::string UnitsLine(const ReportInput& in);
// A number through a report mask ("######.00" ...).
std::string Masked(double value, std::string_view mask);
// Blanks cut from both ends, as a control's trimmed text.
std::string Trimmed(std::string_view text);

// Printing inside a column: a text wider than its room is printed in a smaller size of the
// font in force (which stays for what follows), so that it never runs into its neighbour.
// Nothing is cut: every character is printed, however small it must be.
// Left edge at x, ending by right. Returns where the text ends.
double PrintFitted(Page& page, double x, double y, std::string_view text, double right);
// Ending at right, starting no further left than left.
void PrintRightFitted(Page& page, double left, double right, double y, std::string_view text);
// Centred across the printable width, at most that wide.
void PrintCentredFitted(Page& page, double y, std::string_view text, Ending ending = Ending::Stay);

// The exact value of a store entry: a text as typed, digit for digit; a number as stored.
Decimal ExactValue(const Entry& entry);
// A number with the decimals of the text it was typed as, and at least `least` of them, so
// that arithmetic done on the printed numbers gives what the computation gave.
// negate prints the negated value (a fluid taken off).
std::string WithTypedDecimals(const Entry& entry, int least, bool negate = false);

// The header font: the report font row when there is one, else Arial 18 pt bold.
PageFont ReportHeaderFont(const ReportInput& in);

// The company block centred at the top, in the header font; returns where the title goes.
double PrintCompanyBlock(Page& page, const ReportInput& in);

// Units, company header and title, aircraft header, the heavy rule under it, the new values
// and the C.G. ranges. Returns the y of the heavy rule under the aircraft header, from which
// the body of the report is placed.
double PrintCommonTop(Page& page, const ReportInput& in, TitleField title);

// The new values block, labels at x = 100 and values right-aligned at 4000, at the three ys.
void PrintNewValues(Page& page, const ReportInput& in, const std::array<double, 3>& ys);
// The C.G. range block, labels at x = 4300 and values at 6900, at the three ys. Returns where
// each line ends.
std::array<double, 3> PrintRanges(Page& page, const ReportInput& in, const std::array<double, 3>& ys);

// The mechanic's signature line at y, when the option is set.
void PrintSignatureLine(Page& page, const ReportInput& in, double y);
// "Signed electronically by ..." and the record's hash, right-aligned from y down.
void PrintSignedElectronically(Page& page, const ReportInput& in, double y);

class SheetRun;
// The notes from (100, y) in the given size, when the option is set; they continue on a new
// sheet, 2000 twips below the printable top, where the sheet is full.
void PrintNotes(SheetRun& run, const ReportInput& in, double y, double size);

}  // namespace wb
