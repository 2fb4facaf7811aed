#include "core/pinyin/tone_marks.h"

#include <utility>
#include <vector>

namespace zhavik {
namespace {

// One group per final, tones 1 to 5, numbered and marked forms paired by position. The
// order settles where the mark goes: ai, ao, ei and ou come before the single vowels so the
// mark lands on their first vowel, and compound finals without a group of their own (iao,
// uang, ui...) are caught by the group they end with. The ü group follows the vowels, after
// the e group has already marked lüe.
constexpr std::pair<std::u16string_view, std::u16string_view> kGroups[] = {
    {u"ai1,ai2,ai3,ai4,ai5,", u"āi,ái,ǎi,ài,ai,"},
    {u"an1,an2,an3,an4,an5,", u"ān,án,ǎn,àn,an,"},
    {u"ang1,ang2,ang3,ang4,ang5,", u"āng,áng,ǎng,àng,ang,"},
    {u"ao1,ao2,ao3,ao4,ao5,", u"āo,áo,ǎo,ào,ao,"},
    {u"ong1,ong2,ong3,ong4,ong5,", u"ōng,óng,ǒng,òng,ong,"},
    {u"ou1,ou2,ou3,ou4,ou5,", u"ōu,óu,ǒu,òu,ou,"},
    {u"ei1,ei2,ei3,ei4,ei5,", u"ēi,éi,ěi,èi,ei,"},
    {u"en1,en2,en3,en4,en5,", u"ēn,én,ěn,èn,en,"},
    {u"eng1,eng2,eng3,eng4,eng5,", u"ēng,éng,ěng,èng,eng,"},
    {u"er1,er2,er3,er4,er5,", u"ēr,ér,ěr,èr,er,"},
    {u"ie1,ie2,ie3,ie4,ie5,", u"iē,ié,iě,iè,ie,"},
    {u"iu1,iu2,iu3,iu4,iu5,", u"iū,iú,iǔ,iù,iu,"},
    {u"in1,in2,in3,in4,in5,", u"īn,ín,ǐn,ìn,in,"},
    {u"ing1,ing2,ing3,ing4,ing5,", u"īng,íng,ǐng,ìng,ing,"},
    {u"un1,un2,un3,un4,un5,", u"ūn,ún,ǔn,ùn,un,"},
    {u"a1,a2,a3,a4,a5,", u"ā,á,ǎ,à,a,"},
    {u"o1,o2,o3,o4,o5,", u"ō,ó,ǒ,ò,o,"},
    {u"e1,e2,e3,e4,e5,", u"ē,é,ě,è,e,"},
    {u"i1,i2,i3,i4,i5,", u"ī,í,ǐ,ì,i,"},
    {u"u1,u2,u3,u4,u5,", u"ū,ú,ǔ,ù,u,"},
    {u"ü1,ü2,ü3,ü4,ü5,", u"ǖ,ǘ,ǚ,ǜ,ü,"},
    // The interjections ng, n and m (嗯, 呣) have no vowel, so the mark sits on the first
    // consonant. This group comes last: every digit after a vowel final is gone by now, so
    // the ng of ang1 can no longer be caught here, and ng before n keeps hng5 whole. Unicode
    // has precomposed ḿ ń ň ǹ only; the rest are the letter plus a combining mark.
    {u"ng1,ng2,ng3,ng4,ng5,n1,n2,n3,n4,n5,m1,m2,m3,m4,m5,",
     u"n\u0304g,ńg,ňg,ǹg,ng,n\u0304,ń,ň,ǹ,n,m\u0304,ḿ,m\u030C,m\u0300,m,"},
};

std::vector<std::u16string_view> split_at_commas(std::u16string_view list) {
  std::vector<std::u16string_view> items;
  std::size_t begin = 0;
  for (std::size_t comma = list.find(u','); comma != std::u16string_view::npos;
       comma = list.find(u',', begin)) {
    items.push_back(list.substr(begin, comma - begin));
    begin = comma + 1;
  }
  items.push_back(list.substr(begin));
  return items;
}

std::vector<std::pair<std::u16string_view, std::u16string_view>> make_replacements() {
  std::vector<std::pair<std::u16string_view, std::u16string_view>> pairs;
  for (const auto& [numbered_list, marked_list] : kGroups) {
    const auto numbered = split_at_commas(numbered_list);
    const auto marked = split_at_commas(marked_list);
    for (std::size_t i = 0; i < numbered.size() && i < marked.size(); ++i) {
      // The trailing comma leaves an empty item, which is no pair.
      if (!numbered[i].empty() && !marked[i].empty()) pairs.emplace_back(numbered[i], marked[i]);
    }
  }
  return pairs;
}

void replace_all(std::u16string& text, std::u16string_view from, std::u16string_view to) {
  std::size_t at = text.find(from);
  if (at == std::u16string::npos) return;
  std::u16string result;
  result.reserve(text.size());
  std::size_t done = 0;
  for (; at != std::u16string::npos; at = text.find(from, done)) {
    result.append(text, done, at - done);
    result += to;
    done = at + from.size();
  }
  result.append(text, done);
  text = std::move(result);
}

}  // namespace

std::u16string zhuanhuan_py(std::u16string_view text) {
  static const auto replacements = make_replacements();
  std::u16string result(text);
  // Each pass works on the previous pass's result: ai11 becomes āi1 and then āī.
  for (const auto& [numbered, marked] : replacements)
    replace_all(result, numbered, marked);
  return result;
}

}  // namespace zhavik
