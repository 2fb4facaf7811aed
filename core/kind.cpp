#include "core/kind.h"

namespace zhavik {

std::u16string_view kind_text(Kind kind) {
  switch (kind) {
    case Kind::pinyin:
      return u"拼音";
    case Kind::wubi86:
      return u"86五笔";
    case Kind::wubi98:
      return u"98五笔";
    case Kind::quwei:
      return u"区位";
  }
  return {};
}

std::optional<Kind> kind_from_text(std::u16string_view text) {
  for (const Kind kind : kAllKinds) {
    if (kind_text(kind) == text) return kind;
  }
  return std::nullopt;
}

}  // namespace zhavik
