#include "core/pinyin/context_readings.h"

#include <algorithm>
#include <array>

namespace zhavik {
namespace {

// One rule: `character` reads `reading` where one of the strings `after` ends right before
// it and one of the strings `before` starts right after it, and none of `not_before` does.
// A list holds its strings separated by '|'; an empty list is no condition; "$" stands for
// the end of the line. Rows are tried in order, and the first that applies decides. A rule
// reads a character that a word with readings holds only where the word is in `outranks`.
struct ContextRule {
  char16_t character;
  std::u16string_view reading;
  std::u16string_view after;
  std::u16string_view before;
  std::u16string_view not_before;
  std::u16string_view outranks;
};

// What counts things before a measure word: numerals, digits, demonstratives and the like.
constexpr std::u16string_view kCounters =
    u"一|二|三|四|五|六|七|八|九|十|百|千|万|两|几|半|每|这|那|哪|某|多|"
    u"0|1|2|3|4|5|6|7|8|9|０|１|２|３|４|５|６|７|８|９";
// Where a clause ends: its punctuation, or the end of the line.
constexpr std::u16string_view kClauseEnd = u"。|，|！|？|；|：|、|…|—|”|』|）|$";
// Adverbs and pronouns after which 得 is no complement (还得走, 须得, 我得去).
constexpr std::u16string_view kBeforeMust = u"还|也|就|便|须|又|总|都|我|你|他|她|们";
// Verbs that take the aspect particle 过 ("have done") far more often than 过 as their
// direction (见过, 说过, 吃过, 读过).
constexpr std::u16string_view kVerbsOfExperience =
    u"见|说|吃|看|读|做|骂|听|到|问|喝|用|学|想|写|住|当|打|有";
// What makes 过 "too much" or "to pass" after such a verb (用过多, 到过年, 看过去).
constexpr std::u16string_view kNotAspect =
    u"去|来|头|多的|多地|多，|多。|少|分|度|于|重|量|年|节|日|夜|冬|河|桥|江|关";

// Counts of the places each rule changed in that prose, right : wrong.
constexpr std::array kRules{
    // The measure word (两只手, 那只小篮).                                            18 : 2
    ContextRule{u'只', u"zhī", kCounters, u"", u"", u""},
    // A line of text (两行, 每行, 最后一行), not 一行人 or 那行动; before the word 一行
    // "a party", which the handbook and the stories never mean.      9 : 0, in 一行 14 : 0
    ContextRule{u'行', u"háng", kCounters, u"", u"人|动|为|事", u"一行|两行"},
    // Long, after a word of degree or a unit of length (很长, 那么长, 一尺多长), or
    // after a measure word, before the thing it measures (一支长烟管, 一封长信).         26 : 0
    ContextRule{u'长', u"cháng",
                u"很|太|更|最|越|颇|多|来|够|较|挺|真|么|尺|寸|丈|条|根|支|枝|封|段|篇|排|串|句",
                u"", u"", u""},
    // Long, before the thing it describes (的长指甲, 将长烟管, 在长桌上).              12 : 0
    ContextRule{u'长', u"cháng", u"的|着|将|把|在", u"", u"", u""},
    // Long, after 了, 且, 留 or 是, before what is long (翘了长指甲, 大而且长的,
    // 留长头发, 第二个是长的), not a verb (是长得好, 是长着的).                      7 : 0
    ContextRule{u'长', u"cháng", u"了|且|留|是", u"", u"得|着|成|出|满|起|大|高|了", u""},
    // "Obtain" after 才 and 能, and before 了 (才得回南, 能得几文钱, 又得了胜).     30 : 0
    ContextRule{u'得', u"dé", u"才|能", u"", u"", u""},
    ContextRule{u'得', u"dé", kBeforeMust, u"了", u"", u""},
    // "Must" (还得走, 我得去).
    ContextRule{u'得', u"děi", kBeforeMust, u"", u"", u""},
    // A volume of storage or of a book (逻辑卷, 物理卷, 每个卷, 卷组, 第21卷第6号,
    // 四十九卷《大悲咒》).                                                        64 : 0
    ContextRule{u'卷', u"juàn", u"逻辑|物理|实体|个", u"", u"", u""},
    ContextRule{u'卷', u"juàn", u"", u"组|第|《", u"", u""},
    // To answer (七斤没有应。 一面应，一面…; 应和道).                                  5 : 0
    ContextRule{u'应', u"yìng", u"没有|没人|一面", kClauseEnd, u"", u""},
    ContextRule{u'应', u"yìng", u"", u"和", u"", u""},
    // The aspect particle after a verb (见过, 受过高等教育), not the direction
    // (看过去, 说过头, 使用过多的).                                                 100 : 0
    ContextRule{u'过', u"guo", kVerbsOfExperience, u"", kNotAspect, u""},
    ContextRule{u'过', u"guo", u"受", u"", kClauseEnd, u"受过"},
    // To scatter grains (豆撒得一地, 撒下秕谷); sā stands in words (撒谎, 撒手).      4 : 0
    ContextRule{u'撒', u"sǎ", u"", u"得|在|满|下|落|到", u"", u""},
    // To tie (系上桌帏, 没有系裙).                                                     2 : 0
    ContextRule{u'系', u"jì", u"", u"上|好|紧|裙|带|鞋", u"", u""},
    // Flushed (紫涨着的脸, 涨红了脸).                                                  1 : 0
    ContextRule{u'涨', u"zhàng", u"紫|红|青", u"", u"", u""},
    ContextRule{u'涨', u"zhàng", u"", u"红|紫", u"", u""},
    // Written by, closing a dated note (七年四月二日识。).                              1 : 0
    ContextRule{u'识', u"zhì", u"日", kClauseEnd, u"", u""},
    // Blood as a word of its own, ending a clause, is spoken xiě (吐了两口血，).        3 : 0
    ContextRule{u'血', u"xiě", u"", kClauseEnd, u"", u""},
    // Dry, after what dries (喝干, 吸干).                                              4 : 0
    ContextRule{u'干', u"gān", u"喝|吸|榨|烤|烘|擦|晾|哭|熬|蒸", u"", u"", u""},
    // Dried food, and what ran dry (菜干, 青鱼干, 油灯干了; 干辣椒, 干雪).           5 : 0
    ContextRule{u'干', u"gān", u"菜|鱼|肉|笋|灯", u"", u"", u""},
    ContextRule{u'干', u"gān", u"", u"辣|雪", u"", u""},
    // To peel (剥豆); bō stands in words (剥削, 剥夺).                                3 : 0
    ContextRule{u'剥', u"bāo", u"", u"豆|皮|壳|花生|橘|桔|蒜", u"", u""},
    // To moor (泊着一只白篷船); pō stands in words (湖泊).                            3 : 0
    ContextRule{u'泊', u"bó", u"", u"着|了|在", u"", u""},
    // To mix (调好, 调得不好); diào stands in words (声调).                           2 : 0
    ContextRule{u'调', u"tiáo", u"", u"好|得|匀", u"", u""},
};

// Calls `each` with every string of a '|'-separated list until it answers true.
template <class Each>
bool any_of_list(std::u16string_view list, Each each) {
  for (std::size_t begin = 0; begin <= list.size();) {
    const std::size_t end = std::min(list.find(u'|', begin), list.size());
    if (each(list.substr(begin, end - begin))) return true;
    begin = end + 1;
  }
  return false;
}

bool ends_with_one_of(std::u16string_view text, std::u16string_view list) {
  return any_of_list(list, [&](std::u16string_view s) { return text.ends_with(s); });
}

bool starts_with_one_of(std::u16string_view text, std::u16string_view list) {
  return any_of_list(
      list, [&](std::u16string_view s) { return s == u"$" ? text.empty() : text.starts_with(s); });
}

bool applies(const ContextRule& rule, std::u16string_view line, std::size_t at,
             std::u16string_view word) {
  const std::u16string_view before = line.substr(0, at);
  const std::u16string_view after = line.substr(at + 1);
  return (word.empty() || any_of_list(rule.outranks, [&](auto s) { return s == word; })) &&
         (rule.after.empty() || ends_with_one_of(before, rule.after)) &&
         (rule.before.empty() || starts_with_one_of(after, rule.before)) &&
         (rule.not_before.empty() || !starts_with_one_of(after, rule.not_before));
}

}  // namespace

std::u16string_view reading_in_context(std::u16string_view line, std::size_t at,
                                       std::u16string_view word) {
  for (const ContextRule& rule : kRules) {
    if (rule.character == line[at] && applies(rule, line, at, word)) return rule.reading;
  }
  return {};
}

}  // namespace zhavik
