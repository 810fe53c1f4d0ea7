// The page's texts in Chinese (the default) and English. Elements carry
// data-i18n="key" (their text) or data-i18n-placeholder="key".
const texts = {
  zh: {
    title: '译枢 · 中文电报码转换',
    tagline: '在您的设备上转换，输入的内容不会离开本机；加载一次后可离线使用。',
    options: '选项',
    direction: '方向',
    auto: '自动',
    codeToChar: '电码→汉字',
    charToCode: '汉字→电码',
    detected: '自动判断：{0}',
    book: '码本',
    mainland: '大陆',
    taiwan: '台湾（港澳台）',
    notYet: '（尚未提供）',
    reading: '读码',
    typedRule: '每个电码后须有空格（逐字输入的规则）',
    asWrittenMissing: '（按书写习惯读码尚未提供，目前按逐字输入的规则读码）',
    variants: '缺字时经由繁简字形查码',
    suggestTaiwan: '输入中有繁体字，台湾码本可能更合适。',
    useTaiwan: '改用台湾码本',
    input: '输入',
    placeholder: '例如：陳大文 或 7115 1129 2429',
    output: '结果',
    clear: '清空',
    copy: '复制结果',
    downloadText: '下载文本',
    downloadCsv: '下载 CSV',
    copied: '已复制：{0}',
    copyFailed: '无法复制，请手动选择结果后复制。',
    copyCode: '复制 {0}',
    checkHeading: '逐字核对',
    colChar: '字',
    colMainland: '大陆码',
    colTaiwan: '台湾码',
    colNote: '说明',
    colCode: '电码',
    colUnicode: 'Unicode',
    through: '经由“{0}”',
    ambiguous: '有歧义',
    ambiguousChoices: '有歧义：{0}',
    noCode: '无码',
    charsEmpty: '输入汉字或电码后，这里逐字列出两个码本中的电码。',
    charsMore: '只列出前 {0} 个字，共 {1} 个；CSV 包含全部。',
    bookHeading: '查码本',
    bookChoice: '码本',
    search: '按电码或汉字查找',
    bookCount: '共 {0} 条，第 {1}–{2} 条',
    bookNone: '没有找到。',
    prev: '上一页',
    next: '下一页',
    footer: '电码数据来自 Unicode 汉字数据库（Unihan）。',
    loadFailed: '转换程序未能加载：{0}',
    codesWithoutSpace: '有 {0} 个电码因后面没有空格而未转换。',
    readAsWritten: '按书写习惯读码',
    keptRuns: '有 {0} 组数字不是电码，保持原样。',
    throughVariant: '{0} 个字经由繁简字形查到电码。',
    ambiguousCount: '{0} 个字的繁简字形对应不同电码，保持原样。',
    language: 'English',
  },
  en: {
    title: 'yishu · Chinese telegraph codes',
    tagline: 'Converts on your device: nothing you type leaves it. Works offline once loaded.',
    options: 'Options',
    direction: 'Direction',
    auto: 'Automatic',
    codeToChar: 'Codes → characters',
    charToCode: 'Characters → codes',
    detected: 'Detected: {0}',
    book: 'Book',
    mainland: 'Mainland',
    taiwan: 'Taiwan (also Hong Kong, Macau)',
    notYet: '(not available yet)',
    reading: 'Reading',
    typedRule: 'A space must follow each code (the typing rule)',
    asWrittenMissing: '(reading codes as written is not available yet; codes are read by the typing rule)',
    variants: 'Find a missing character through its simplified or traditional form',
    suggestTaiwan: 'The input has traditional characters: the Taiwan book may suit it better.',
    useTaiwan: 'Use the Taiwan book',
    input: 'Input',
    placeholder: 'e.g. 陳大文 or 7115 1129 2429',
    output: 'Result',
    clear: 'Clear',
    copy: 'Copy result',
    downloadText: 'Download text',
    downloadCsv: 'Download CSV',
    copied: 'Copied: {0}',
    copyFailed: 'Could not copy: select the result and copy it yourself.',
    copyCode: 'Copy {0}',
    checkHeading: 'Each character, checked',
    colChar: 'Character',
    colMainland: 'Mainland',
    colTaiwan: 'Taiwan',
    colNote: 'Note',
    colCode: 'Code',
    colUnicode: 'Unicode',
    through: 'through {0}',
    ambiguous: 'ambiguous',
    ambiguousChoices: 'ambiguous: {0}',
    noCode: 'no code',
    charsEmpty: 'Type characters or codes: each character is listed here with its code in both books.',
    charsMore: 'Showing the first {0} of {1} characters; the CSV has them all.',
    bookHeading: 'The code book',
    bookChoice: 'Book',
    search: 'Find a code or character',
    bookCount: '{0} entries, {1}–{2} shown',
    bookNone: 'Nothing found.',
    prev: 'Previous',
    next: 'Next',
    footer: 'Codes from the Unicode Han database (Unihan).',
    loadFailed: 'The converter could not be loaded: {0}',
    codesWithoutSpace: 'Codes left as digits because no space follows them: {0}.',
    readAsWritten: 'Read codes as written',
    keptRuns: 'Runs of digits that are no codes, kept as they were: {0}.',
    throughVariant: 'Characters coded through a simplified or traditional variant: {0}.',
    ambiguousCount: 'Characters left as they were because their variants have different codes: {0}.',
    language: '中文',
  },
};

let current = 'zh';

export function language() { return current; }

// The text of `key` with {0}, {1}… filled in.
export function t(key, ...args) {
  const s = texts[current][key] ?? texts.zh[key] ?? key;
  return s.replace(/\{(\d)\}/g, (_, i) => String(args[Number(i)]));
}

export function setLanguage(lang) {
  current = lang in texts ? lang : 'zh';
  document.documentElement.lang = current === 'zh' ? 'zh-Hans' : 'en';
  document.title = t('title');
  for (const el of document.querySelectorAll('[data-i18n]')) el.textContent = t(el.dataset.i18n);
  for (const el of document.querySelectorAll('[data-i18n-placeholder]')) {
    el.placeholder = t(el.dataset.i18nPlaceholder);
  }
  const button = document.getElementById('language');
  button.textContent = t('language');
  button.lang = current === 'zh' ? 'en' : 'zh-Hans';
}
