#pragma once
// Text helpers shared by the parsers, the settings file and the formatters.
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brenvik {

// A value that does not convert or a field that is missing. Raised only on bad lines.
class ConvertError : public std::exception {
public:
    const char* what() const noexcept override { return "conversion error"; }
};

// Removes characters with codes 0 to 32 at both ends.
std::string_view Trim(std::string_view s);

// Plain decimal: optional sign, digits, optional point and digits, at least one digit.
std::optional<double> ParseDecimal(std::string_view s);
// Optional sign and digits, within the 32-bit range.
std::optional<std::int32_t> ParseInt(std::string_view s);
// Hexadecimal digits only (either case), within 32 bits.
std::optional<std::uint32_t> ParseHex(std::string_view s);

// Throwing forms for the handlers: ConvertError when the text does not convert.
double ToDouble(std::string_view s);
std::int32_t ToInt(std::string_view s);

// Comma text: fields separated by commas, double-quoted fields may hold anything (a doubled
// double quote stands for one), unquoted blanks also separate fields. `out` receives views
// into `text` or, for quoted fields, into `arena` (cleared and reserved here, so the views
// stay valid until the next call that reuses the arena). A NUL ends the text.
void SplitCommaText(std::string_view text, std::vector<std::string_view>& out, std::string& arena);
std::vector<std::string> SplitCommaText(std::string_view text);

// Joins fields with commas, quoting a field that holds a character with code 1 to 32,
// a double quote or a comma. A list of one empty field joins to two double quotes.
void AppendCommaText(std::string& out, const std::vector<std::string_view>& fields,
                     std::size_t first = 0);
std::string JoinCommaText(const std::vector<std::string_view>& fields, std::size_t first = 0);
std::string JoinCommaText(const std::vector<std::string>& fields);

// One CSV cell: enclosed in double quotes, inner double quotes doubled.
void AppendCsvQuoted(std::string& out, std::string_view text);
// A cell that must stay one cell: quoted when it holds a comma, a double quote, CR or LF.
void AppendCsvCell(std::string& out, std::string_view text);

// field = the text before the first comma, text = what follows it (or empty).
void PopField(std::string_view& text, std::string_view& field);

// printf into a std::string. Integers and texts only: its number texts follow the C locale.
std::string Fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));

// "%*.*f" and "%*.*g" of printf in the C locale, whatever locale the program runs in: the
// decimal separator is always the point.
std::string FixedNumber(double v, int width, int decimals);
std::string GeneralNumber(double v, int width, int precision);

// Upper-case ASCII copy.
std::string UpperCase(std::string_view s);

// "%9.9d": an MMSI as its nine-digit text.
std::string MmsiText(std::int64_t id);
std::string PadLeft(std::string_view text, std::size_t width);
// The name without its extension (at most 10 characters go).
std::string StripExt(std::string_view name);
std::string ReplaceChar(char oldc, char newc, std::string_view text);

}  // namespace brenvik
