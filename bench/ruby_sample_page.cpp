// Writes a sample ruby page to standard output, for scripts/render_html.sh to show in a real
// browser: a poem, a line with text around the hanzi and markup that must stay text, an
// empty line, a line long enough to wrap, zhuyin, and the readings without a vowel.
//
// The readings are numbered keys given with each line, one per hanzi in order, rendered by
// styled_reading as the conversion renders the dictionary's.

#include <cstdio>
#include <string>
#include <string_view>

#include "core/conversion/ruby_html.h"
#include "core/pinyin/pinyin_style.h"

namespace {

struct SampleLine {
  std::u16string_view text;
  std::u16string_view keys;  // one numbered key per hanzi, separated by blanks
  zhavik::PinyinStyle style = zhavik::PinyinStyle::marks;
};

constexpr SampleLine kLines[] = {
    {u"静夜思", u"jing4 ye4 si1"},
    {u"〔唐〕李白", u"tang2 li3 bai2"},
    {u"床前明月光，疑是地上霜。", u"chuang2 qian2 ming2 yue4 guang1 yi2 shi4 di4 shang4 shuang1"},
    {u"举头望明月，低头思故乡。", u"ju3 tou2 wang4 ming2 yue4 di1 tou2 si1 gu4 xiang1"},
    {u"", u""},
    {u"你好，世界！Hello 2026年 <b>不是标签</b> & \"引号\"。",
     u"ni3 hao3 shi4 jie4 nian2 bu4 shi4 biao1 qian1 yin3 hao4"},
    {u"学而时习之，不亦说乎？有朋自远方来，不亦乐乎？人不知而不愠，不亦君子乎？",
     u"xue2 er2 shi2 xi2 zhi1 bu4 yi4 yue4 hu1 you3 peng2 zi4 yuan3 fang1 lai2 bu4 yi4 le4 hu1 "
     u"ren2 bu4 zhi1 er2 bu4 yun4 bu4 yi4 jun1 zi3 hu1"},
    {u"我的中国心，绿色的女孩。", u"wo3 de5 zhong1 guo2 xin1 lü4 se4 de5 nü3 hai2",
     zhavik::PinyinStyle::zhuyin},
    {u"嗯，呣，绿女略", u"ng2 m2 lü4 nü3 lüe4"},
};

bool is_hanzi(char16_t unit) {
  return unit >= 0x4E00 && unit <= 0x9FFF;
}

}  // namespace

int main() {
  zhavik::RubyHtmlWriter writer;
  std::string page;
  writer.begin(u"静夜思 · 注音示例", page);
  for (const SampleLine& line : kLines) {
    std::u16string_view keys = line.keys;
    std::size_t text_start = 0;
    for (std::size_t i = 0; i < line.text.size(); ++i) {
      if (!is_hanzi(line.text[i])) continue;
      writer.add({line.text.substr(text_start, i - text_start), {}}, page);
      const std::size_t blank = keys.find(u' ');
      const std::u16string reading = zhavik::styled_reading(keys.substr(0, blank), line.style);
      keys.remove_prefix(blank == std::u16string_view::npos ? keys.size() : blank + 1);
      writer.add({line.text.substr(i, 1), reading}, page);
      text_start = i + 1;
    }
    writer.add({line.text.substr(text_start), {}}, page);
    writer.end_line(page);
  }
  writer.end(page);
  std::fwrite(page.data(), 1, page.size(), stdout);
  return std::ferror(stdout) ? 1 : 0;
}
