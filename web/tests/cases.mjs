// The names and codes that the tests of the page share: each typed by a user
// whose browser speaks `locale`, with the interface (`ui`) and the book
// (`book`: 1 Hong Kong/Macau/Taiwan, 0 mainland) the page should choose, and
// what the result must begin with where the codes are known by heart.
export const NAMES = [
  { locale: 'zh-HK', ui: 'zh-Hant', input: '陳大文', book: 1, starts: '7115 1129 2429' },
  { locale: 'zh-HK', ui: 'zh-Hant', input: '7115 1129 2429', book: 1, starts: '陳大文' },
  { locale: 'zh-HK', ui: 'zh-Hant', input: '711511292429', book: 1, starts: '陳大文' },
  { locale: 'zh-HK', ui: 'zh-Hant', input: '葉劍英', book: 1, starts: '5509 ' },
  // 為 and 衛 take the codes of the book's 爲 and 衞.
  { locale: 'zh-MO', ui: 'zh-Hant', input: '黃為民', book: 1 },
  { locale: 'zh-TW', ui: 'zh-Hant', input: '衛志強', book: 1, starts: '5898 ' },
  // No book has 𠀀: it is reported, and kept apart from the codes.
  { locale: 'zh-HK', ui: 'zh-Hant', input: '陳𠀀文', book: 1, uncoded: '𠀀' },
  { locale: 'zh-CN', ui: 'zh-Hans', input: '叶剑英', book: 0, starts: '0673 ' },
  { locale: 'zh-CN', ui: 'zh-Hans', input: '陈大文', book: 0 },
  // Traditional input picks the Hong Kong/Macau/Taiwan book wherever the user is.
  { locale: 'zh-CN', ui: 'zh-Hans', input: '陳大文', book: 1, starts: '7115 1129 2429' },
  { locale: 'en-US', ui: 'en', input: '鍾嘉欣', book: 1, ambiguousInMainland: '鍾' },
  { locale: 'en-GB', ui: 'en', input: '0022 2429', book: 0, starts: '中文' },
];
