#include "core/dictionary/kind.h"

namespace zhavik {

// row_of finds a kind's row by its place.
static_assert([] {
  for (std::size_t i = 0; i < kKindCount; ++i) {
    if (index_of(kKinds[i].kind) != i) return false;
  }
  return true;
}());

std::optional<Kind> kind_from_text(std::u16string_view text) {
  for (const KindRow& row : kKinds) {
    if (row.text == text) return row.kind;
  }
  return std::nullopt;
}

std::optional<Kind> kind_from_name(std::string_view name) {
  for (const KindRow& row : kKinds) {
    if (row.name == name) return row.kind;
  }
  return std::nullopt;
}

}  // namespace zhavik
