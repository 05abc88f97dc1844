#include "app/data_table.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <optional>

#include "app/decimal_text.h"
#include "app/input_error.h"
#include "app/safe_text.h"

namespace quorvane::app {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kChunkBytes = 16384;

// One line of the text at a time, never more than kMaxDataLineBytes of it.
class LineReader {
 public:
  LineReader(std::istream& in, std::string_view source) : in_(in), source_(source) {}

  // False at the end of the text.
  bool Next(std::string& line) {
    line.clear();
    while (true) {
      in_.getline(chunk_, kChunkBytes);
      const auto got = static_cast<std::size_t>(in_.gcount());
      if (in_.bad()) throw InputError(SafeText(source_, kLongInputLimit) + ": cannot be read");
      const bool chunkFull = in_.fail() && !in_.eof() && got == kChunkBytes - 1;
      const bool delimited = !in_.fail() && !in_.eof();
      line.append(chunk_, delimited ? got - 1 : got);
      if (line.size() > kMaxDataLineBytes) {
        throw InputError(DataLocation(source_, number_ + 1) + ": longer than " +
                         std::to_string(kMaxDataLineBytes) + " bytes");
      }
      if (chunkFull) {
        in_.clear();
        continue;
      }
      if (got == 0 && line.empty() && in_.eof()) return false;
      ++number_;
      return true;
    }
  }

  long Number() const { return number_; }

 private:
  std::istream& in_;
  std::string_view source_;
  long number_ = 0;
  char chunk_[kChunkBytes];
};

bool IsBlank(char c, char delimiter) {
  return c == ' ' || (c == '\t' && delimiter != '\t');
}

std::string_view Trimmed(std::string_view text, char delimiter) {
  while (!text.empty() && IsBlank(text.front(), delimiter)) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back(), delimiter)) text.remove_suffix(1);
  return text;
}

bool IsSkipped(std::string_view line) {
  const auto first = line.find_first_not_of(" \t");
  return first == std::string_view::npos || line[first] == '#';
}

// The end of a quoted field that starts at open: the index of its closing
// quote ("" inside stands for one quote), or npos.
std::size_t ClosingQuote(std::string_view line, std::size_t open) {
  for (std::size_t i = open + 1; i < line.size(); ++i) {
    if (line[i] != '"') continue;
    if (i + 1 < line.size() && line[i + 1] == '"') {
      ++i;
      continue;
    }
    return i;
  }
  return std::string_view::npos;
}

// Splits a line at the delimiter. A quoted field is its text between the
// quotes (a doubled quote stays doubled: no field the reader interprets holds
// one).
void SplitFields(std::string_view line, char delimiter, std::string_view source, long lineNumber,
                 std::vector<std::string_view>& fields) {
  fields.clear();
  std::size_t pos = 0;
  while (true) {
    const int column = static_cast<int>(fields.size()) + 1;
    while (pos < line.size() && IsBlank(line[pos], delimiter)) ++pos;
    std::size_t end = line.find(delimiter, pos);
    if (pos < line.size() && line[pos] == '"') {
      const std::size_t close = ClosingQuote(line, pos);
      if (close == std::string_view::npos) {
        throw InputError(DataLocation(source, lineNumber, column) + ": the quote is not closed");
      }
      fields.push_back(line.substr(pos + 1, close - pos - 1));
      end = line.find(delimiter, close + 1);
      if (!Trimmed(line.substr(close + 1, end - close - 1), delimiter).empty()) {
        throw InputError(DataLocation(source, lineNumber, column) +
                         ": text after the closing quote");
      }
    } else {
      fields.push_back(Trimmed(line.substr(pos, end - pos), delimiter));
    }
    if (end == std::string_view::npos) return;
    pos = end + 1;
  }
}

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A header name without its unit: "P (GPa)" and "P[GPa]" are "P".
std::string_view WithoutUnit(std::string_view name, char delimiter) {
  if (name.empty()) return name;
  const char close = name.back();
  if (close != ')' && close != ']') return name;
  const auto open = name.rfind(close == ')' ? '(' : '[');
  if (open == std::string_view::npos || open == 0) return name;
  return Trimmed(name.substr(0, open), delimiter);
}

// The unit a header name gives: "GPa" of "P (GPa)" and of "P[GPa]".
std::string_view UnitOf(std::string_view name, char delimiter) {
  const std::string_view bare = WithoutUnit(name, delimiter);
  if (bare.size() == name.size()) return {};
  const auto open = name.rfind(name.back() == ')' ? '(' : '[');
  return Trimmed(name.substr(open + 1, name.size() - open - 2), delimiter);
}

DataHeader HeaderFrom(std::string_view line, long lineNumber, std::string_view source,
                      const DataColumns& asked) {
  DataHeader header;
  header.source = std::string(source);
  header.line = lineNumber;
  header.delimiter = line.find('\t') != std::string_view::npos ? '\t' : ',';
  header.names = asked.required;
  header.names.insert(header.names.end(), asked.optional.begin(), asked.optional.end());
  header.columns.assign(header.names.size(), 0);
  header.units.assign(header.names.size(), std::string());

  std::vector<std::string_view> fields;
  SplitFields(line, header.delimiter, source, lineNumber, fields);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string_view bare = WithoutUnit(fields[i], header.delimiter);
    int index = header.Find(bare);
    if (index < 0 && asked.alsoNamed && asked.alsoNamed(bare)) {
      index = static_cast<int>(header.names.size());
      header.names.emplace_back(bare);
      header.columns.push_back(0);
      header.units.emplace_back();
    }
    if (index < 0) continue;
    const int column = static_cast<int>(i) + 1;
    if (header.columns[index] > 0) {
      throw InputError(DataLocation(source, lineNumber, column) + ": column " +
                       QuotedInput(header.names[index]) + " appears twice");
    }
    header.columns[index] = column;
    header.units[index] = std::string(UnitOf(fields[i], header.delimiter));
  }
  for (std::size_t i = 0; i < asked.required.size(); ++i) {
    if (header.columns[i] > 0) continue;
    throw InputError(DataLocation(source, lineNumber) + ": no column " +
                     QuotedInput(header.names[i]));
  }
  return header;
}

void CheckFieldCount(std::size_t fields, const DataHeader& header, std::size_t expected,
                     long lineNumber) {
  if (fields == expected) return;
  const int column = static_cast<int>(std::min(fields, expected)) + 1;
  const std::string where = DataLocation(header.source, lineNumber, column);
  if (fields < expected) {
    throw InputError(where + ": the row ends here, the header names " + std::to_string(expected) +
                     " columns");
  }
  throw InputError(where + ": a field beyond the header's " + std::to_string(expected) +
                   " columns");
}

double FieldNumber(std::string_view field, const DataHeader& header, std::size_t index,
                   long lineNumber) {
  if (const auto value = ParseDecimal(field)) return *value;
  throw InputError(DataLocation(header.source, lineNumber, header.columns[index]) + " (" +
                   header.names[index] + "): " + QuotedInput(field) + " " +
                   DecimalSyntaxProblem(field));
}

}  // namespace

bool SameColumnName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

int DataHeader::Find(std::string_view name) const {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (SameColumnName(names[i], name)) return static_cast<int>(i);
  }
  return -1;
}

bool DataHeader::Has(std::string_view name) const {
  const int index = Find(name);
  return index >= 0 && columns[index] > 0;
}

std::string DataLocation(std::string_view source, long line, int column) {
  std::string where = SafeText(source, kLongInputLimit) + " line " + std::to_string(line);
  if (column > 0) where += ", column " + std::to_string(column);
  return where;
}

void ReadDataRows(std::istream& in, std::string_view source, const DataColumns& columns,
                  const std::function<void(const DataHeader&)>& onHeader,
                  const std::function<void(const DataHeader&, const DataRow&)>& onRow) {
  LineReader reader(in, source);
  std::optional<DataHeader> header;
  std::size_t fieldCount = 0;
  std::string text;
  std::vector<std::string_view> fields;
  std::vector<double> values;
  std::vector<bool> blankable;
  while (reader.Next(text)) {
    std::string_view line = text;
    const long lineNumber = reader.Number();
    if (lineNumber == 1 && line.starts_with(kByteOrderMark)) line.remove_prefix(3);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (IsSkipped(line)) continue;
    if (!header) {
      header = HeaderFrom(line, lineNumber, source, columns);
      SplitFields(line, header->delimiter, source, lineNumber, fields);
      fieldCount = fields.size();
      values.assign(header->names.size(), std::numeric_limits<double>::quiet_NaN());
      blankable.assign(header->names.size(), false);
      for (const std::string& name : columns.blankable) {
        if (const int index = header->Find(name); index >= 0) blankable[index] = true;
      }
      onHeader(*header);
      continue;
    }
    SplitFields(line, header->delimiter, source, lineNumber, fields);
    CheckFieldCount(fields.size(), *header, fieldCount, lineNumber);
    for (std::size_t i = 0; i < values.size(); ++i) {
      const int column = header->columns[i];
      if (column == 0) continue;
      const std::string_view field = fields[column - 1];
      values[i] = field.empty() && blankable[i] ? std::numeric_limits<double>::quiet_NaN()
                                                : FieldNumber(field, *header, i, lineNumber);
    }
    onRow(*header, DataRow{lineNumber, values});
  }
  if (!header) throw InputError(SafeText(source, kLongInputLimit) + ": no header row");
}

DataTable ReadDataTable(std::istream& in, std::string_view source, const DataColumns& columns) {
  DataTable table;
  ReadDataRows(
      in, source, columns, [&](const DataHeader& header) { table.header = header; },
      [&](const DataHeader&, const DataRow& row) {
        table.lines.push_back(row.line);
        table.values.insert(table.values.end(), row.values.begin(), row.values.end());
      });
  return table;
}

void ReadDataFile(const std::string& path, std::string_view option, std::istream& standardInput,
                  const std::function<void(std::istream&, const std::string& source)>& read) {
  if (path == "-") {
    read(standardInput, "<stdin>");
    return;
  }
  std::ifstream file(path);
  if (!file) {
    throw InputError(std::string(option) + ": cannot open \"" + SafeText(path, kLongInputLimit) +
                     "\"");
  }
  read(file, path);
}

DataTable ReadDataTable(const std::string& path, std::string_view option,
                        std::istream& standardInput, const DataColumns& columns) {
  DataTable table;
  ReadDataFile(path, option, standardInput, [&](std::istream& in, const std::string& source) {
    table = ReadDataTable(in, source, columns);
  });
  return table;
}

namespace {

// Stops the reading of a file at its header.
struct HeaderRead {};

}  // namespace

std::vector<std::string> DataColumnNames(std::istream& in) {
  std::vector<std::string> names;
  DataColumns everyColumn{{}, {}};
  everyColumn.alsoNamed = [](std::string_view) { return true; };
  try {
    ReadDataRows(
        in, "", everyColumn,
        [&](const DataHeader& header) {
          names = header.names;
          throw HeaderRead{};
        },
        [](const DataHeader&, const DataRow&) {});
  } catch (const HeaderRead&) {
    return names;
  } catch (const InputError&) {
    return {};
  }
  return names;
}

}  // namespace quorvane::app
