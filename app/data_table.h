#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::app {

// No line of a data file may be longer; a longer one is refused when the bound
// is passed, so a line that never ends (/dev/zero) is not read into memory.
inline constexpr std::size_t kMaxDataLineBytes = std::size_t{1} << 20;

// The columns a reader asks for, by name. A header matches a name whatever its
// case, and may add a unit in parentheses or brackets: "p (GPa)", "V [A^3]".
struct DataColumns {
  std::vector<std::string> required;
  std::vector<std::string> optional;
  // Optional columns whose field may be left empty, for a value not known
  // for that row: it reads as NaN.
  std::vector<std::string> blankable{};
  // Further optional columns picked by their name (without its unit), for
  // names a reader cannot list, such as a spacing d111 of any reflection:
  // each the file has is added to the header's names, in the file's order.
  std::function<bool(std::string_view)> alsoNamed{};
};

// Where the asked-for columns sit in a file.
struct DataHeader {
  // The file's name as error lines show it.
  std::string source;
  long line = 0;
  char delimiter = ',';
  // The names asked for: the required ones, the optional ones, then those
  // alsoNamed picked, as the file writes them.
  std::vector<std::string> names;
  // The 1-based column of each name in the file; 0 for an optional column the
  // file does not have.
  std::vector<int> columns;
  // The unit each column's name gives in parentheses or brackets, as written
  // ("GPa" of "P (GPa)"); empty where it gives none.
  std::vector<std::string> units;

  // The index of a name in names, or -1 when it was not asked for.
  int Find(std::string_view name) const;
  // True when the file has the column.
  bool Has(std::string_view name) const;
};

struct DataRow {
  long line = 0;
  // One number per name of the header; NaN where the file lacks the column.
  std::span<const double> values;
};

// "points.csv line 3, column 2", or without a column for column 0.
std::string DataLocation(std::string_view source, long line, int column = 0);

// Reads a CSV or TSV text: the first line that is neither blank nor a comment
// ("#" first) names the columns, and its delimiter, a tab if it holds one and
// a comma otherwise, holds for the whole file. A UTF-8 byte-order mark, CRLF
// line ends, blanks around fields and double-quoted fields are accepted;
// columns not asked for are ignored. Every field of an asked-for column must
// be a strict decimal number (ParseDecimal). Calls onHeader once and onRow for
// every data row, in order. Throws InputError naming the source, line and
// column of the first fault: no header, a required column missing, a column
// named twice, a row whose field count differs from the header's, a field
// that is not a number, a line longer than kMaxDataLineBytes, or a read error.
void ReadDataRows(std::istream& in, std::string_view source, const DataColumns& columns,
                  const std::function<void(const DataHeader&)>& onHeader,
                  const std::function<void(const DataHeader&, const DataRow&)>& onRow);

// The whole table in memory.
struct DataTable {
  DataHeader header;
  std::vector<long> lines;
  // Row after row, header.names.size() numbers each.
  std::vector<double> values;

  std::size_t RowCount() const { return lines.size(); }
  double Value(std::size_t row, std::size_t column) const {
    return values[row * header.names.size() + column];
  }
};

// Whether two column names are one: ASCII letters match in either case.
bool SameColumnName(std::string_view a, std::string_view b);

// The names of a data file's columns, without their units, as its header
// gives them; none where it has no header the reader takes.
std::vector<std::string> DataColumnNames(std::istream& in);

// ReadDataRows into a DataTable (which may have no rows).
DataTable ReadDataTable(std::istream& in, std::string_view source, const DataColumns& columns);

// Calls read with the file at path, or with standardInput for "-" (whose
// name in errors is then "<stdin>"). Throws InputError, "option: cannot open
// ...", when the file cannot be opened.
void ReadDataFile(const std::string& path, std::string_view option, std::istream& standardInput,
                  const std::function<void(std::istream&, const std::string& source)>& read);

// ReadDataTable of the file at path, or of standardInput for "-".
DataTable ReadDataTable(const std::string& path, std::string_view option,
                        std::istream& standardInput, const DataColumns& columns);

}  // namespace quorvane::app
