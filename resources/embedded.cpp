#include "resources/embedded.h"

namespace korva {

std::string_view EmbeddedResource(std::string_view name, bool* found) {
  for (const EmbeddedFile* f = kEmbeddedFiles; f->name != nullptr; ++f) {
    if (name == f->name) {
      if (found) *found = true;
      return std::string_view(f->data, f->size);
    }
  }
  if (found) *found = false;
  return {};
}

}  // namespace korva
