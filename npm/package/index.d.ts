// Types of the yishu package (index.mjs).

export type Book = 'mainland' | 'taiwan';
export type Reading = 'typed' | 'asWritten';
export type Direction = 'toCodes' | 'toChars';

export interface Options {
  /** The code book; 'mainland' unless given. */
  book?: Book;
  /** Characters to codes: a character the book lacks takes the single code
   *  of its simplified or traditional variant. */
  variants?: boolean;
  /** Codes to characters: 'typed' (a code converts once its space follows)
   *  or 'asWritten' (codes as people write them: "0022,2429", "00222429"). */
  reading?: Reading;
}

/** A run of digits that reading as written kept; in UTF-16 units of the text. */
export interface DigitRun {
  offset: number;
  units: number;
  digits: number;
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
  unwritable: number;
  unwritableCodes: number[];
  codesWithoutSpace: number;
  keptRuns: number;
  kept: DigitRun[];
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
}

export interface Lookup {
  character: string;
  mainland: Found[];
  taiwan: Found[];
}

export const version: string;
export function convert(text: string, options: Options & { direction: Direction }): Result;
export function encode(text: string, options?: Pick<Options, 'book' | 'variants'>): string;
export function decode(text: string, options?: Pick<Options, 'book' | 'reading'>): string;

export class Converter {
  constructor(direction: Direction, options?: Options);
  feed(piece: string): string;
  finish(): string;
  readonly report: Report;
  free(): void;
  stream(): TransformStream<string, string>;
}

export function lookup(character: string): Lookup;
export function character(code: string | number, book?: Book): string | null;
