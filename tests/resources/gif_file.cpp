#include "tests/resources/gif_file.h"

#include <stdexcept>

namespace resources_tests {
namespace {

// Joins the data sub-blocks that start at `at`; leaves `at` after the terminating empty block.
std::vector<unsigned char> ReadSubBlocks(ByteSpan file, std::size_t& at) {
  std::vector<unsigned char> data;
  for (std::size_t length = ByteAt(file, at++); length != 0; length = ByteAt(file, at++)) {
    for (std::size_t i = 0; i < length; ++i)
      data.push_back(static_cast<unsigned char>(ByteAt(file, at++)));
  }
  return data;
}

std::vector<unsigned> DecodeLzw(const std::vector<unsigned char>& data, unsigned min_code_size) {
  if (min_code_size < 2 || min_code_size > 8) throw std::runtime_error("bad LZW code size");
  const unsigned clear_code = 1u << min_code_size;
  const unsigned end_code = clear_code + 1;
  std::vector<std::vector<unsigned>> table;  // the clear and end codes stand for nothing
  unsigned code_size = 0;
  std::vector<unsigned> out, previous;
  for (std::size_t bit = 0;;) {
    if (table.empty()) {  // at the start and after a clear code
      table.resize(end_code + 1);
      for (unsigned i = 0; i < clear_code; ++i) table[i] = {i};
      code_size = min_code_size + 1;
      previous.clear();
    }
    if (bit + code_size > data.size() * 8) throw std::runtime_error("LZW data ends early");
    unsigned code = 0;
    for (unsigned i = 0; i < code_size; ++i, ++bit)
      code |= ((data[bit / 8] >> (bit % 8)) & 1u) << i;
    if (code == clear_code) {
      table.clear();
      continue;
    }
    if (code == end_code) return out;
    std::vector<unsigned> entry;
    if (code < table.size() && !table[code].empty()) {
      entry = table[code];
    } else if (code == table.size() && !previous.empty()) {
      entry = previous;
      entry.push_back(previous.front());
    } else {
      throw std::runtime_error("LZW code out of sequence");
    }
    out.insert(out.end(), entry.begin(), entry.end());
    if (!previous.empty() && table.size() < 4096) {
      previous.push_back(entry.front());
      table.push_back(std::move(previous));
      if (table.size() == (1u << code_size) && code_size < 12) ++code_size;
    }
    previous = std::move(entry);
  }
}

}  // namespace

GifFile ReadGif(ByteSpan file) {
  GifFile gif;
  for (std::size_t i = 0; i < 6; ++i) gif.signature += static_cast<char>(ByteAt(file, i));
  gif.screen_width = Le16(file, 6);
  gif.screen_height = Le16(file, 8);
  const unsigned screen_flags = ByteAt(file, 10);
  gif.has_global_table = (screen_flags & 0x80) != 0;
  gif.global_table_size_bits = screen_flags & 0x07;
  std::size_t at = 13;
  if (gif.has_global_table) {
    const std::size_t colours = std::size_t{2} << gif.global_table_size_bits;
    for (std::size_t i = 0; i < colours; ++i, at += 3) {
      gif.global_table.push_back({ByteAt(file, at), ByteAt(file, at + 1), ByteAt(file, at + 2)});
    }
  }

  while (true) {
    const unsigned introducer = ByteAt(file, at++);
    if (introducer == 0x3B) return gif;  // trailer
    if (introducer == 0x21) {
      const unsigned label = ByteAt(file, at++);
      const std::vector<unsigned char> body = ReadSubBlocks(file, at);
      if (label == 0xF9 && !body.empty() && (body[0] & 0x01) != 0) gif.any_transparency = true;
      if (label == 0xFF && std::string(body.begin(), body.end()).starts_with("NETSCAPE2.0")) {
        gif.has_loop_extension = true;
      }
    } else if (introducer == 0x2C) {
      GifFile::Image image{
          Le16(file, at), Le16(file, at + 2), Le16(file, at + 4), Le16(file, at + 6), false, false};
      const unsigned flags = ByteAt(file, at + 8);
      image.interlaced = (flags & 0x40) != 0;
      image.has_local_table = (flags & 0x80) != 0;
      at += 9;
      if (image.has_local_table) at += 3 * (std::size_t{2} << (flags & 0x07));
      const unsigned min_code_size = ByteAt(file, at++);
      const std::vector<unsigned char> data = ReadSubBlocks(file, at);
      if (gif.images.empty()) gif.first_image_indices = DecodeLzw(data, min_code_size);
      gif.images.push_back(image);
    } else {
      throw std::runtime_error("unknown GIF block " + std::to_string(introducer));
    }
  }
}

}  // namespace resources_tests
