#include "platform/services/copy_record.h"

#include <charconv>
#include <cstdio>

namespace platform {
namespace {

// The record's lines, in order; a copy line for each destination comes before the last.
constexpr std::string_view kFirstLine = "vl copies 2";
constexpr std::string_view kFolder = "folder ";
constexpr std::string_view kBefore = "before ";
constexpr std::string_view kAfter = "after ";
constexpr std::string_view kCopy = "copy ";
constexpr std::string_view kLastLine = "end";

// Fields are written with their control characters and '%' as %XX, so that a field holds no
// tab or line break whatever the program saves.
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

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const auto cut = text.find(separator);
    parts.push_back(text.substr(0, cut));
    if (cut == std::string_view::npos) return parts;
    text.remove_prefix(cut + 1);
  }
}

std::string FormatFingerprint(const Fingerprint& print) {
  return std::to_string(print.size) + "\t" + Escape(print.identity) + "\t" + Escape(print.sum);
}

std::optional<Fingerprint> ParseFingerprint(std::string_view size, std::string_view identity,
                                            std::string_view sum) {
  Fingerprint print;
  const auto [end, failure] = std::from_chars(size.data(), size.data() + size.size(), print.size);
  auto plainIdentity = Unescape(identity);
  auto plainSum = Unescape(sum);
  if (failure != std::errc() || end != size.data() + size.size() || size.empty() ||
      !plainIdentity || !plainSum)
    return std::nullopt;
  print.identity = std::move(*plainIdentity);
  print.sum = std::move(*plainSum);
  return print;
}

// "destination, staged, its size, identity and sum, kept, its size, identity and sum", by tabs.
std::optional<RecordedCopy> ParseCopy(std::string_view line) {
  const auto fields = Split(line, '\t');
  if (fields.size() != 9) return std::nullopt;
  auto destination = Unescape(fields[0]);
  auto staged = Unescape(fields[1]);
  auto after = ParseFingerprint(fields[2], fields[3], fields[4]);
  auto kept = Unescape(fields[5]);
  auto before = ParseFingerprint(fields[6], fields[7], fields[8]);
  if (!destination || !staged || !after || !kept || !before || destination->empty() ||
      staged->empty())
    return std::nullopt;
  return RecordedCopy{std::move(*destination), std::move(*staged), std::move(*after),
                      std::move(*kept), std::move(*before)};
}

// Reads the text after the prefix of a line into `field`.
bool Field(std::string_view line, std::string_view prefix, std::string& field) {
  if (!line.starts_with(prefix)) return false;
  auto plain = Unescape(line.substr(prefix.size()));
  if (!plain) return false;
  field = std::move(*plain);
  return true;
}

// Whether `line`, cut short, can be the start of the line expected at `place`.
bool CanBegin(std::string_view line, std::size_t place) {
  const std::string_view expected[] = {kFirstLine, kFolder, kBefore, kAfter};
  if (place < std::size(expected))
    return expected[place].starts_with(line) || line.starts_with(expected[place]);
  return kCopy.starts_with(line) || line.starts_with(kCopy) || kLastLine.starts_with(line);
}

}  // namespace

std::string FormatCopyRecord(const CopyRecord& record) {
  std::string text = std::string(kFirstLine) + "\n";
  text += std::string(kFolder) + Escape(record.folder) + "\n";
  text += std::string(kBefore) + Escape(record.before) + "\n";
  text += std::string(kAfter) + Escape(record.after) + "\n";
  for (const auto& copy : record.copies) {
    text += std::string(kCopy) + Escape(copy.destination) + "\t" + Escape(copy.staged) + "\t" +
            FormatFingerprint(copy.after) + "\t" + Escape(copy.kept) + "\t" +
            FormatFingerprint(copy.before) + "\n";
  }
  return text + std::string(kLastLine) + "\n";
}

ReadRecord ParseCopyRecord(std::string_view text) {
  ReadRecord read;
  const auto lines = Split(text, '\n');
  // Every line but the last ends with its line break; the last is what follows the last break.
  for (std::size_t place = 0; place + 1 < lines.size(); ++place) {
    const std::string_view line = lines[place];
    bool known = false;
    switch (place) {
      case 0:
        known = line == kFirstLine;
        break;
      case 1:
        known = Field(line, kFolder, read.record.folder) && !read.record.folder.empty();
        break;
      case 2:
        known = Field(line, kBefore, read.record.before);
        break;
      case 3:
        known = Field(line, kAfter, read.record.after);
        break;
      default:
        if (line == kLastLine) {
          // Whole: the copies, and nothing after the last line's break.
          const bool whole =
              place + 2 == lines.size() && lines.back().empty() && !read.record.copies.empty();
          read.text = whole ? RecordText::kWhole : RecordText::kUnknown;
          return read;
        }
        if (line.starts_with(kCopy)) {
          auto copy = ParseCopy(line.substr(kCopy.size()));
          known = copy.has_value();
          if (known) read.record.copies.push_back(std::move(*copy));
        }
    }
    if (!known) {
      read.text = RecordText::kUnknown;
      return read;
    }
  }
  read.text =
      CanBegin(lines.back(), lines.size() - 1) ? RecordText::kCutShort : RecordText::kUnknown;
  return read;
}

}  // namespace platform
