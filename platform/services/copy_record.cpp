#include "platform/services/copy_record.h"

#include <cstdio>

namespace platform {
namespace {

constexpr std::string_view kFirstLine = "vl copies 1";
constexpr std::string_view kNote = "note ";
constexpr std::string_view kCopy = "copy ";
constexpr std::string_view kLastLine = "end";

// Fields are written with their control characters and '%' as %XX, so that a field holds no
// tab or line break whatever the caller's note says.
std::string Escape(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == '%' || byte == 0x7F) {
      char code[4];
      std::snprintf(code, sizeof code, "%%%02X", byte);
      escaped += code;
    } else {
      escaped += c;
    }
  }
  return escaped;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      plain += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = HexDigit(text[i + 1]);
    const int low = HexDigit(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    plain += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return plain;
}

// Splits `text` at `separator`.
std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const auto cut = text.find(separator);
    parts.push_back(text.substr(0, cut));
    if (cut == std::string_view::npos) return parts;
    text.remove_prefix(cut + 1);
  }
}

std::optional<RecordedCopy> ParseCopy(std::string_view line) {
  const auto fields = Split(line, '\t');
  if (fields.size() != 3) return std::nullopt;
  auto destination = Unescape(fields[0]);
  auto staged = Unescape(fields[1]);
  auto kept = Unescape(fields[2]);
  if (!destination || !staged || !kept || destination->empty() || staged->empty())
    return std::nullopt;
  return RecordedCopy{std::move(*destination), std::move(*staged), std::move(*kept)};
}

}  // namespace

std::string FormatCopyRecord(const CopyRecord& record) {
  std::string text =
      std::string(kFirstLine) + "\n" + std::string(kNote) + Escape(record.note) + "\n";
  for (const auto& copy : record.copies) {
    text += std::string(kCopy) + Escape(copy.destination) + "\t" + Escape(copy.staged) + "\t" +
            Escape(copy.kept) + "\n";
  }
  return text + std::string(kLastLine) + "\n";
}

std::optional<CopyRecord> ParseCopyRecord(std::string_view text) {
  auto lines = Split(text, '\n');
  // Whole means ending with the last line and its line break: nothing after it.
  if (lines.size() < 4 || !lines.back().empty() || lines[lines.size() - 2] != kLastLine ||
      lines[0] != kFirstLine || !lines[1].starts_with(kNote))
    return std::nullopt;
  CopyRecord record;
  auto note = Unescape(lines[1].substr(kNote.size()));
  if (!note) return std::nullopt;
  record.note = std::move(*note);
  for (std::size_t i = 2; i + 2 < lines.size(); ++i) {
    if (!lines[i].starts_with(kCopy)) return std::nullopt;
    auto copy = ParseCopy(lines[i].substr(kCopy.size()));
    if (!copy) return std::nullopt;
    record.copies.push_back(std::move(*copy));
  }
  return record;
}

}  // namespace platform
