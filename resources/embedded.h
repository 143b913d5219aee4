#pragma once
// Files of resources/ built into the program (templates, scripts, style
// sheets, schema). Their bytes are exactly the repository's (UTF-8).
#include <cstddef>
#include <string_view>

namespace korva {

struct EmbeddedFile {
  const char* name;  // path below resources/, e.g. "schema/meet.sql"
  const char* data;
  std::size_t size;
};

// The table ends with a null name.
extern const EmbeddedFile kEmbeddedFiles[];

// The bytes of one embedded file; found is false when there is none.
std::string_view EmbeddedResource(std::string_view name, bool* found = nullptr);

}  // namespace korva
