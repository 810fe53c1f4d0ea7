// Types of the yishu package (index.mjs).

export type Book = 'mainland' | 'taiwan' | 'eccc';
export type Variants = 'bookDefault' | 'none' | 'forms' | 'all';
export type Reading = 'typed' | 'asWritten';
export type Script = 'traditional' | 'simplified';
export type Direction = 'toCodes' | 'toChars';

export interface Options {
  /** The code book; 'mainland' unless given. */
  book?: Book;
  /** Characters to codes: which variant links a character the book lacks
   *  may take, when they give exactly one code. 'bookDefault': 'forms' for
   *  the Taiwan and e-CCC books, 'none' for the mainland book; 'forms':
   *  other written forms (衛 takes the code of 衞); 'all': forms and the
   *  simplified and traditional links. */
  variants?: Variants;
  /** Codes to characters: 'typed' (a code converts once its space follows)
   *  or 'asWritten' (codes as people write them: "0022,2429", "00222429"). */
  reading?: Reading;
  /** Codes to characters in the e-CCC book: which of a code's forms. */
  script?: Script;
  /** Codes to characters in the traditional books: 為 rather than 爲. */
  standardForms?: boolean;
}

/** A run of digits that reading as written kept; in UTF-16 units of the text. */
export interface DigitRun {
  offset: number;
  units: number;
  digits: number;
}

/** A character converted through a variant: its code is the variant's. */
export interface VariantUse {
  character: string;
  variant: string;
  code: number;
  /** Where the link comes from, as bits (see yishu.h's VariantSource). */
  sources: number;
}

/** What a conversion did besides its plain work. */
export interface Report {
  throughVariant: number;
  ambiguous: number;
  otherBookOnly: number;
  noCode: number;
  ambiguousChars: string;
  otherBookChars: string;
  noCodeChars: string;
  throughChars: VariantUse[];
  unwritable: number;
  unwritableCodes: number[];
  otherScript: number;
  otherScriptCodes: number[];
  oldForms: number;
  oldFormCodes: number[];
  codesWithoutSpace: number;
  keptRuns: number;
  kept: DigitRun[];
  /** Four-digit runs that converted next to a letter, currency sign or 年月日號号. */
  doubtfulRuns: number;
  doubtful: DigitRun[];
}

export interface Result {
  text: string;
  report: Report;
}

export interface Found {
  /** Four digits. */
  code: string;
  /** null for the character's own code, else the variant the code belongs to. */
  via: string | null;
  /** With a variant: where its link comes from, as bits. */
  sources: number;
  /** The code that converting the character gives. */
  produced: boolean;
}

export interface Lookup {
  character: string;
  mainland: Found[];
  taiwan: Found[];
  eccc: Found[];
}

export const version: string;
export function convert(text: string, options: Options & { direction: Direction }): Result;
export function encode(text: string, options?: Pick<Options, 'book' | 'variants'>): string;
export function decode(text: string, options?: Pick<Options, 'book' | 'reading' | 'script' | 'standardForms'>): string;

export class Converter {
  constructor(direction: Direction, options?: Options);
  feed(piece: string): string;
  finish(): string;
  readonly report: Report;
  free(): void;
  stream(): TransformStream<string, string>;
}

export function lookup(character: string, options?: Pick<Options, 'variants'>): Lookup;
export function character(code: string | number, book?: Book, script?: Script): string | null;
