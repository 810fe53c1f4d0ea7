// The code book's figures: any slip in the data or its generator shows here.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "reference.h"
#include "rule_lists.h"
#include "test_text.h"
#include "yishu/yishu.h"

namespace yishu {
namespace {

using enum Direction;

bool IsGb2312Hanzi(const CodeRow& r) {
  return r.lead >= 0xB0 && r.lead <= 0xF7 && r.trail >= 0xA1 && r.trail <= 0xFE;
}
bool IsGbkExtension(const CodeRow& r) {
  return (r.lead >= 0x81 && r.lead <= 0xA0) || (r.lead >= 0xAA && r.trail <= 0xA0);
}
bool IsUserDefined(const CodeRow& r) { return r.lead == 0xAA && r.trail >= 0xA1; }
bool IsSymbol(const CodeRow& r) { return r.lead >= 0xA1 && r.lead <= 0xA9; }

struct Group {
  const char* name;
  bool (*in)(const CodeRow&);
  std::size_t rules, characters;
};

TEST(CodeBookTest, GroupFigures) {
  const Group groups[] = {
      {"GB2312 hanzi", IsGb2312Hanzi, 6429, 6375},
      {"GBK extension", IsGbkExtension, 695, 695},
      {"user-defined", IsUserDefined, 10, 10},
      {"symbols", IsSymbol, 144, 141},
      {"all", [](const CodeRow&) { return true; }, 7278, 7221},
  };
  for (const Group& g : groups) {
    std::size_t rules = 0;
    std::set<char16_t> characters;
    for (const CodeRow& r : CodeBook()) {
      if (!g.in(r)) continue;
      ++rules;
      characters.insert(r.unicode);
    }
    EXPECT_EQ(rules, g.rules) << g.name;
    EXPECT_EQ(characters.size(), g.characters) << g.name;
  }
}

TEST(CodeBookTest, RuleListSizesAndOrder) {
  EXPECT_EQ(reference::CodeToCharRules().size(), 7309u);
  EXPECT_EQ(reference::CharToCodeRules().size(), 7261u);
  int previous = 0;
  for (const CodeRow& r : CodeBook()) {
    EXPECT_GT(r.code, previous);
    EXPECT_LE(r.code, 9998);
    EXPECT_GE(r.lead, 0x81) << r.code;  // no replacement holds a digit or a space
    EXPECT_GE(r.trail, 0x40) << r.code;
    previous = r.code;
  }
  // The day keys stand between the codes up to 9899 and those from 9941.
  const auto& rules = reference::CodeToCharRules();
  const std::size_t first_day = 7278 - 50;  // 50 codes from 9941 up
  EXPECT_EQ(rules[first_day - 1].key, "9899 ");
  EXPECT_EQ(rules[first_day].key, "99010");
  EXPECT_EQ(rules[first_day + 30].key, "99319");
  EXPECT_EQ(rules[first_day + 31].key, "9941 ");
  EXPECT_EQ(rules.back().key, "9998 ");
}

TEST(CodeBookTest, CharactersWithSeveralCodes) {
  const std::map<std::u16string, std::vector<int>> expected = {
      {u"一", {1, 9701, 9801}},
      {u"七", {3, 9707, 9807}},
      {u"三", {5, 9703, 9803}},
      {u"丰", {23, 6265}},
      {u"九", {46, 9709, 9809}},
      {u"二", {59, 9702, 9802}},
      {u"五", {63, 9705, 9805}},
      {u"价", {116, 305}},
      {u"系", {190, 4762}},
      {u"八", {360, 9708, 9808}},
      {u"六", {362, 9706, 9806}},
      {u"十", {577, 9710, 9711, 9712, 9810, 9811, 9812, 9813, 9814, 9815, 9816, 9817, 9818, 9819}},
      {u"廿", {579, 9820, 9821, 9822, 9823, 9824}},
      {u"厂", {617, 1681}},
      {u"后", {683, 1775}},
      {u"四", {934, 9704, 9804}},
      {u"宁", {1337, 1380}},
      {u"币", {1578, 1618}},
      {u"广", {1639, 1684}},
      {u"术", {2611, 5890}},
      {u"机", {2623, 2894}},
      {u"猪", {3727, 6277}},
      {u"种", {4429, 4467}},
      {u"范", {4636, 5400}},
      {u"庄", {5445, 8369}},
      {u"万", {5502, 8001}},
      {u"药", {5522, 5673}},
      {u"证", {6086, 6214}},
      {u"零", {7190, 9800}},
      {u"·", {9978, 9992, 9993}},
      {u"—", {9994, 9995}},
  };
  std::map<std::u16string, std::vector<int>> actual;
  for (const CodeRow& r : CodeBook()) actual[std::u16string(1, r.unicode)].push_back(r.code);
  std::erase_if(actual, [](const auto& entry) { return entry.second.size() < 2; });
  EXPECT_EQ(actual, expected);
}

TEST(CodeBookTest, CodesNeverProduced) {
  // Each of these characters converts to its other code.
  const std::map<int, int> left_out = {
      {190, 4762},  {305, 116},   {1380, 1337}, {1618, 1578}, {1681, 617},  {1684, 1639},
      {1775, 683},  {2894, 2623}, {4467, 4429}, {4636, 5400}, {5445, 8369}, {5502, 8001},
      {5673, 5522}, {5890, 2611}, {6214, 6086}, {6265, 23},   {6277, 3727}};
  std::map<int, int> actual;
  for (const CodeRow& r : CodeBook()) {
    if (r.produced) continue;
    const std::u16string ch(1, r.unicode);
    const std::u16string code = ConvertText(CharToCode, std::u16string_view(ch));
    actual[r.code] = std::stoi(std::string(code.begin(), code.end()));
  }
  EXPECT_EQ(actual, left_out);
}

TEST(CodeBookTest, EveryCharacterGivesItsFirstProducedCode) {
  std::map<char16_t, int> first;
  for (const CodeRow& r : CodeBook()) {
    if (r.produced) first.emplace(r.unicode, r.code);
  }
  std::set<int> produced;
  for (const auto& [ch, code] : first) {
    const std::u16string in(1, ch);
    const std::u16string out = ConvertText(CharToCode, std::u16string_view(in));
    ASSERT_EQ(out.size(), 5u);
    const int got = std::stoi(std::string(out.begin(), out.end()));
    EXPECT_EQ(got, code) << "U+" << std::hex << static_cast<int>(ch);
    produced.insert(got);
  }
  EXPECT_EQ(first.size(), 7221u);
  // The 17 codes never produced and the 40 later numeral and symbol codes.
  EXPECT_EQ(produced.size(), 7278u - 17u - 40u);
}

TEST(CodeBookTest, GB2312HanziWithoutCode) {
  const std::u16string without_code =
      u"憋蹿叼捡啪趴呸沏蹋喳丌乇囟厣刂劁劐亻仨佧伲侉俣俜傺氽凇讠诜诶阢邾鄹墼坜坶垴埯堋埽墚艹芏苈苊"
      u"芴苷茚苠莛茺茳荬荭荮莰莶菥菝萆葜葙蒈葶蓠蔸蔟瞢蕹薷耷尥扌抻挢掭揲揞摁搋搛搌撖撸撺擀擐擤攥攮"
      u"卟吒吖呔吣吲咝哐咭咴咦呲咣哌哚哜咩哏哞哧哳唣喵啕唿唷啵啷唰嗖嘟嗬嗦嗝嗄嗯嗲嗌嗍嗨嗵嘞嘁嘣嘀"
      u"嘭噘噗噔噼嚓嚯囔嵴嶝後犭犰犸狒狳猓猹猸饣馇馐馓馕庳忄怄怊惝愣憷闶丬氵沲洌洇浞渖涫渫漭溻滗潆"
      u"漤潲瀵辶迕彐屙弪艴屮婧胬尜孢骒骘骣纟绗绱缍缋缲玎璁璺杩柃桠桤桊椤椋楗楱榀榍槭樘檗檫辁軎戗旮"
      u"旯赀赕犟牾牿犏毪毽攵肟肜朊肽肭胩胗脎胲脶腙腚腼腽腧膣膪臁膦飑飚炻烀烊焐煳煲煸煺熘灬礻祗肀泶"
      u"硌碜碹碥礓礤眍睃瞍瞵畲钅钣钸铖铘铞铴锃锊锍锪锩锼镆镙镟镲稆稃皙鸫鸸鸹鹇鹋鹎鹛鹨鹱痖痦瘊瘙瘛"
      u"癀癍癔衤袷袼裉裥襻耥耱耵聍颞颥虼蚵蚺蝽蝾蝰螋螈蟓蠊蠼笸筻筢箅箢篼舭舯舾艉艏艚糨糸趔酏踅趿跗"
      u"跞跆踺躔躜貘觯龅龇銎鋈鐾鲆鲕鲺鲼鳋鳐鞒鞔骺髂髌鬏黢黪鼽齄";
  EXPECT_EQ(without_code.size(), 388u);  // with the 6375 that have one, GB2312's 6763 hanzi
  EXPECT_EQ(std::set<char16_t>(without_code.begin(), without_code.end()).size(), 388u);
  EXPECT_EQ(ConvertText(CharToCode, std::u16string_view(without_code)), without_code);
  for (const CodeRow& r : CodeBook()) {
    EXPECT_EQ(without_code.find(r.unicode), std::u16string::npos) << r.code;
  }
}

TEST(CodeBookTest, CorrectedRows) {
  EXPECT_EQ(ConvertText(CodeToChar, std::u16string_view(u"0430 2888 ")), u"刀橄");
  EXPECT_EQ(ConvertText(CharToCode, std::u16string_view(u"刀橄撖")), u"0430 2888 撖");
}

}  // namespace
}  // namespace yishu
