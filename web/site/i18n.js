// The page's texts in traditional Chinese (Hong Kong, Macau, Taiwan),
// simplified Chinese and English. Elements carry data-i18n="key" (their
// text) or data-i18n-placeholder="key".
const texts = {
  'zh-Hant': {
    title: '譯樞 · 中文電報碼轉換',
    language: '語言',
    views: '功能',
    viewConvert: '轉換',
    viewName: '姓名',
    viewCheck: '核對',
    viewBook: '碼本',
    options: '選項',
    optionsSummary: '選項：',
    direction: '方向',
    auto: '自動',
    codeToChar: '電碼→漢字',
    charToCode: '漢字→電碼',
    book: '碼本',
    taiwan: '香港・澳門・台灣',
    mainland: '中國大陸',
    eccc: '銀行 e-CCC',
    standardForms: '解碼時寫通行字形（為，而非爲）',
    variants: '碼本缺字時，經由繁簡字形查碼',
    typedRule: '每個電碼後須有空格（逐字輸入的規則）',
    input: '輸入',
    placeholder: '例如：陳大文 或 7115 1129 2429',
    output: '結果',
    clear: '清除',
    copy: '複製結果',
    downloadText: '下載文字',
    downloadCsv: '下載 CSV',
    copied: '已複製：{0}',
    copyFailed: '無法複製，請自行選取結果後複製。',
    bookUsed: '碼本：{0}',
    byLocale: '（依地區自動選擇）',
    byInput: '（輸入有繁體字，自動選擇）',
    checkHeading: '逐字核對',
    colChar: '字',
    colNote: '說明',
    colUnicode: 'Unicode',
    inUse: '（本次使用）',
    through: '經由「{0}」',
    ambiguous: '有歧義',
    ambiguousChoices: '有歧義：{0}',
    noCode: '無碼',
    charsEmpty: '輸入漢字或電碼後，這裏逐字列出各碼本的電碼。',
    charsMore: '只列出前 {0} 個字，共 {1} 個；CSV 包含全部。',
    copyCharCode: '複製「{0}」在{1}碼本的電碼',
    codesWithoutSpace: '有 {0} 個電碼因後面沒有空格而未轉換。',
    readAsWritten: '按書寫習慣讀碼',
    keptRuns: '有 {0} 組數字不是電碼，保持原樣。',
    doubtfulRuns: '{0} 組四位數字緊鄰字母、貨幣符號或年月日號，已當作電碼轉換，請核對是電碼而非年份、價錢或號碼：{1}。',
    listSeparator: '、',
    throughVariant: '{0} 個字經由異體或繁簡字形查到電碼。',
    oldFormsChanged: '{0} 個電碼的字寫成通行字形。',
    oldFormsKept: '{0} 個電碼的字是碼本的舊字形。',
    otherScript: '{0} 個電碼在 e-CCC 沒有所選的字形，寫成另一字形。',
    uncoded: '{0} 個字沒有電碼：',
    nameHeading: '表格用的姓名電碼',
    nameInput: '中文姓名',
    namePlaceholder: '例如：陳大文',
    split: '姓與名的分界',
    surname: '姓',
    given: '名',
    copySurname: '複製姓的電碼',
    copyGiven: '複製名的電碼',
    fieldLength: '{0} 個字元',
    tooLong: '{0} 個字元，超過 20：DS-160 的一欄放不下五個字的電碼。',
    ds160: '美國簽證表格 DS-160 的姓與名各填一欄：每字四位數字，以一個空格分隔，結尾不留空格，每欄最多 20 個字元，即最多四個字；五個字的名字放不下。',
    checkModeHeading: '核對別人給的電碼',
    checkName: '中文姓名',
    checkCodes: '電碼',
    checkEmpty: '輸入姓名和電碼，這裏逐字說明電碼在各碼本中是否相符。',
    checkOk: '相符',
    checkOkThrough: '相符（經由「{0}」）',
    checkStands: '{0} 是「{1}」',
    checkIs: '「{0}」是 {1}',
    separator: '；',
    checkNoChar: '{0} 在此碼本沒有字',
    checkNoCode: '「{0}」在此碼本沒有電碼',
    checkMissing: '缺少電碼',
    checkExtra: '多出的電碼',
    checkNotCode: '{0} 不是四位數的電碼',
    bookHeading: '查碼本',
    bookChoice: '碼本',
    search: '按電碼或漢字查找',
    bookCount: '共 {0} 條，第 {1}–{2} 條',
    bookNone: '找不到。',
    prev: '上一頁',
    next: '下一頁',
    copyHint: '複製',
    tagline: '在您的裝置上轉換，輸入的內容不會離開本機；載入一次後可離線使用。',
    footer: '電碼資料來自 Unicode 漢字資料庫（Unihan）；e-CCC 碼本來自 SWIFT 公布的中文商用電碼表第 2 版（由 CCC 維護小組維護）。',
    loadFailed: '轉換程式未能載入：{0}',
  },
  'zh-Hans': {
    title: '译枢 · 中文电报码转换',
    language: '语言',
    views: '功能',
    viewConvert: '转换',
    viewName: '姓名',
    viewCheck: '核对',
    viewBook: '码本',
    options: '选项',
    optionsSummary: '选项：',
    direction: '方向',
    auto: '自动',
    codeToChar: '电码→汉字',
    charToCode: '汉字→电码',
    book: '码本',
    taiwan: '香港・澳门・台湾',
    mainland: '中国大陆',
    eccc: '银行 e-CCC',
    standardForms: '解码时写通行字形（為，而非爲）',
    variants: '码本缺字时，经由繁简字形查码',
    typedRule: '每个电码后须有空格（逐字输入的规则）',
    input: '输入',
    placeholder: '例如：陈大文 或 0022 2429',
    output: '结果',
    clear: '清空',
    copy: '复制结果',
    downloadText: '下载文本',
    downloadCsv: '下载 CSV',
    copied: '已复制：{0}',
    copyFailed: '无法复制，请手动选择结果后复制。',
    bookUsed: '码本：{0}',
    byLocale: '（按地区自动选择）',
    byInput: '（输入中有繁体字，自动选择）',
    checkHeading: '逐字核对',
    colChar: '字',
    colNote: '说明',
    colUnicode: 'Unicode',
    inUse: '（本次使用）',
    through: '经由“{0}”',
    ambiguous: '有歧义',
    ambiguousChoices: '有歧义：{0}',
    noCode: '无码',
    charsEmpty: '输入汉字或电码后，这里逐字列出各码本中的电码。',
    charsMore: '只列出前 {0} 个字，共 {1} 个；CSV 包含全部。',
    copyCharCode: '复制“{0}”在{1}码本的电码',
    codesWithoutSpace: '有 {0} 个电码因后面没有空格而未转换。',
    readAsWritten: '按书写习惯读码',
    keptRuns: '有 {0} 组数字不是电码，保持原样。',
    doubtfulRuns: '{0} 组四位数字紧邻字母、货币符号或年月日号，已当作电码转换，请核对是电码而非年份、价钱或号码：{1}。',
    listSeparator: '、',
    throughVariant: '{0} 个字经由异体或繁简字形查到电码。',
    oldFormsChanged: '{0} 个电码的字写成通行字形。',
    oldFormsKept: '{0} 个电码的字是码本的旧字形。',
    otherScript: '{0} 个电码在 e-CCC 没有所选的字形，写成另一字形。',
    uncoded: '{0} 个字没有电码：',
    nameHeading: '表格用的姓名电码',
    nameInput: '中文姓名',
    namePlaceholder: '例如：陈大文',
    split: '姓与名的分界',
    surname: '姓',
    given: '名',
    copySurname: '复制姓的电码',
    copyGiven: '复制名的电码',
    fieldLength: '{0} 个字符',
    tooLong: '{0} 个字符，超过 20：DS-160 的一栏放不下五个字的电码。',
    ds160: '美国签证表格 DS-160 的姓与名各填一栏：每字四位数字，以一个空格分隔，末尾不留空格，每栏最多 20 个字符，即最多四个字；五个字的名字放不下。',
    checkModeHeading: '核对别人给的电码',
    checkName: '中文姓名',
    checkCodes: '电码',
    checkEmpty: '输入姓名和电码，这里逐字说明电码在各码本中是否相符。',
    checkOk: '相符',
    checkOkThrough: '相符（经由“{0}”）',
    checkStands: '{0} 是“{1}”',
    checkIs: '“{0}”是 {1}',
    separator: '；',
    checkNoChar: '{0} 在此码本没有字',
    checkNoCode: '“{0}”在此码本没有电码',
    checkMissing: '缺少电码',
    checkExtra: '多出的电码',
    checkNotCode: '{0} 不是四位数的电码',
    bookHeading: '查码本',
    bookChoice: '码本',
    search: '按电码或汉字查找',
    bookCount: '共 {0} 条，第 {1}–{2} 条',
    bookNone: '没有找到。',
    prev: '上一页',
    next: '下一页',
    copyHint: '复制',
    tagline: '在您的设备上转换，输入的内容不会离开本机；加载一次后可离线使用。',
    footer: '电码数据来自 Unicode 汉字数据库（Unihan）；e-CCC 码本来自 SWIFT 公布的中文商用电码表第 2 版（由 CCC 维护小组维护）。',
    loadFailed: '转换程序未能加载：{0}',
  },
  en: {
    title: 'yishu · Chinese telegraph codes',
    language: 'Language',
    views: 'Tools',
    viewConvert: 'Convert',
    viewName: 'Name',
    viewCheck: 'Check',
    viewBook: 'Code book',
    options: 'Options',
    optionsSummary: 'Options:\u00a0',
    direction: 'Direction',
    auto: 'Automatic',
    codeToChar: 'Codes → characters',
    charToCode: 'Characters → codes',
    book: 'Book',
    taiwan: 'Hong Kong · Macau · Taiwan',
    mainland: 'Mainland China',
    eccc: 'Banks’ e-CCC',
    standardForms: 'Decode to the forms in common use (為, not 爲)',
    variants: 'Find a character the book lacks through its simplified or traditional form',
    typedRule: 'A space must follow each code (the typing rule)',
    input: 'Input',
    placeholder: 'e.g. 陳大文 or 7115 1129 2429',
    output: 'Result',
    clear: 'Clear',
    copy: 'Copy result',
    downloadText: 'Download text',
    downloadCsv: 'Download CSV',
    copied: 'Copied: {0}',
    copyFailed: 'Could not copy: select the result and copy it yourself.',
    bookUsed: 'Book: {0}',
    byLocale: ' (chosen for your region)',
    byInput: ' (chosen: the input is traditional)',
    checkHeading: 'Each character, checked',
    colChar: 'Character',
    colNote: 'note',
    colUnicode: 'Unicode',
    inUse: ' (in use)',
    through: 'through {0}',
    ambiguous: 'ambiguous',
    ambiguousChoices: 'ambiguous: {0}',
    noCode: 'no code',
    charsEmpty: 'Type characters or codes: each character is listed here with its code in each book.',
    charsMore: 'Showing the first {0} of {1} characters; the CSV has them all.',
    copyCharCode: 'copy the code of {0} in the {1} book',
    codesWithoutSpace: 'Codes left as digits because no space follows them: {0}.',
    readAsWritten: 'Read codes as written',
    keptRuns: 'Runs of digits that are no codes, kept as they were: {0}.',
    doubtfulRuns: 'Four digits read as a code beside a letter, a currency sign or 年月日號号 ({0}); check that each is a code, not a year, a price or a number: {1}.',
    listSeparator: ', ',
    throughVariant: 'Characters coded through a variant form: {0}.',
    oldFormsChanged: 'Codes written in the form in common use rather than the book’s old form: {0}.',
    oldFormsKept: 'Codes written in the book’s old form: {0}.',
    otherScript: 'Codes that e-CCC has only in the other script, written so: {0}.',
    uncoded: 'Characters without a code ({0}):',
    nameHeading: 'Your name in codes, for a form',
    nameInput: 'Name in Chinese',
    namePlaceholder: 'e.g. 陳大文',
    split: 'Where the surname ends',
    surname: 'Surname',
    given: 'Given names',
    copySurname: 'Copy the surname’s codes',
    copyGiven: 'Copy the given names’ codes',
    fieldLength: '{0} characters',
    tooLong: '{0} characters, more than 20: the codes of five characters do not fit one DS-160 field.',
    ds160: 'The US visa form DS-160 takes the surname and the given names in separate fields: sets of four digits separated by single spaces, no trailing space, at most 20 characters, so at most four Chinese characters. A given name of five characters does not fit.',
    checkModeHeading: 'Check codes you were given',
    checkName: 'Name in Chinese',
    checkCodes: 'Codes',
    checkEmpty: 'Enter a name and its codes: each character is checked here against its code in each book.',
    checkOk: 'matches',
    checkOkThrough: 'matches, through {0}',
    checkStands: '{0} is {1}',
    checkIs: '{0} is {1}',
    separator: '; ',
    checkNoChar: 'no character has {0} in this book',
    checkNoCode: '{0} has no code in this book',
    checkMissing: 'no code given',
    checkExtra: 'a code too many',
    checkNotCode: '{0} is not a four-digit code',
    bookHeading: 'The code book',
    bookChoice: 'Book',
    search: 'Find a code or character',
    bookCount: '{0} entries, {1}–{2} shown',
    bookNone: 'Nothing found.',
    prev: 'Previous',
    next: 'Next',
    copyHint: 'copy',
    tagline: 'Converts on your device: nothing you type leaves it. Works offline once loaded.',
    footer: 'Codes from the Unicode Han database (Unihan); the e-CCC book from the Chinese Commercial Code table, version 2, that SWIFT publishes (maintained by the CCC Maintenance Group).',
    loadFailed: 'The converter could not be loaded: {0}',
  },
};

export const TEXTS = texts;
export const LANGUAGES = Object.keys(texts);
export const LANGUAGE_KEY = 'yishu-language';  // in localStorage: the user's choice
let current = 'zh-Hant';

export function language() { return current; }

// The interface for a browser's languages (navigator.languages): the first
// Chinese or English one decides; Chinese of Hong Kong, Macau and Taiwan, or
// written traditionally, gets the traditional interface. Any other language
// gets it too: most of those who need telegraph codes write traditionally.
export function languageFor(locales) {
  for (const tag of locales) {
    const [lang, ...rest] = tag.toLowerCase().split('-');
    if (lang === 'en') return 'en';
    if (lang !== 'zh') continue;
    if (rest.some((s) => ['hant', 'hk', 'mo', 'tw'].includes(s))) return 'zh-Hant';
    return 'zh-Hans';
  }
  return 'zh-Hant';
}

// The interface for a saved choice (an older page saved 'zh' for simplified
// Chinese) or, without one, for the browser's languages. It and languageFor
// stand alone: the page's first script (localize-page.mjs) carries both.
export function chosenLanguage(saved, locales) {
  if (['zh-Hant', 'zh-Hans', 'en'].includes(saved)) return saved;
  return saved === 'zh' ? 'zh-Hans' : languageFor(locales);
}

// Whether the user's region or writing is that of Hong Kong, Macau or
// Taiwan: the first language tag that names a Chinese script or region decides.
export function regionIsTraditional(locales) {
  for (const tag of locales) {
    const parts = tag.toLowerCase().split('-').slice(1);
    if (parts.some((s) => ['hant', 'hk', 'mo', 'tw'].includes(s))) return true;
    if (parts.some((s) => ['hans', 'cn', 'sg'].includes(s))) return false;
  }
  return false;
}

// The language tag of Chinese text in a book's own writing (e-CCC's in
// `script`: 0 traditional, 1 simplified).
export const scriptOfBook = (book, script = 0) => (book === 0 || (book === 2 && script === 1) ? 'zh-Hans' : 'zh-Hant');

// The text of `key` with {0}, {1}… filled in.
export function t(key, ...args) {
  const s = texts[current][key] ?? texts['zh-Hant'][key] ?? key;
  return s.replace(/\{(\d)\}/g, (_, i) => String(args[Number(i)]));
}

export function setLanguage(lang) {
  current = lang in texts ? lang : lang === 'zh' ? 'zh-Hans' : 'zh-Hant';
  document.documentElement.lang = current;
  document.title = t('title');
  // Texts already right stay as they are (the page's first script wrote
  // them): written again, they would be drawn again, late.
  for (const el of document.querySelectorAll('[data-i18n]')) {
    const text = t(el.dataset.i18n);
    if (el.textContent !== text) el.textContent = text;
  }
  for (const el of document.querySelectorAll('[data-i18n-placeholder]')) {
    el.placeholder = t(el.dataset.i18nPlaceholder);
  }
  for (const el of document.querySelectorAll('[data-i18n-label]')) el.setAttribute('aria-label', t(el.dataset.i18nLabel));
}
