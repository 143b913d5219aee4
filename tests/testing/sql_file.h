#pragma once
// SQL kept in a UTF-8 file beside the test helpers, read as GBK like every
// literal of the program.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "database/gbk_text.h"

namespace korva {

// The file of that name in tests/testing, as GBK.
inline std::string ReadTestingSql(const char* file_name) {
  const std::filesystem::path file = std::filesystem::path(__FILE__).parent_path() / file_name;
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return Utf8ToGbk(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

}  // namespace korva
