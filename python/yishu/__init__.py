"""Chinese telegraph codes and Chinese characters, both ways.

    >>> import yishu
    >>> yishu.encode("陳大文", book="taiwan")
    '7115 1129 2429 '
    >>> yishu.decode("7115 1129 2429", book="taiwan", reading="as_written")
    '陳大文'

Texts are str, or bytes in UTF-8 or CP936 (``encoding="cp936"``); the result
has the type of the text. Everything without a code passes through unchanged,
lone surrogates and malformed bytes too. The conversion itself is the C++
core's (yishu.h): this package only names its options.
"""

from __future__ import annotations

import codecs
import functools
from dataclasses import dataclass
from typing import IO, AnyStr, Literal, Optional, Tuple, Union

from . import _yishu

__all__ = [
    "encode", "decode", "convert", "Converter", "Report", "DigitRun", "VariantUse", "Found",
    "Lookup", "lookup", "character",
]

Book = Literal["mainland", "taiwan", "eccc"]
Variants = Literal["book_default", "none", "forms", "all"]
Reading = Literal["typed", "as_written"]
Script = Literal["traditional", "simplified"]
Direction = Literal["to_codes", "to_chars"]
Encoding = Literal["utf-8", "cp936"]

# The numbers of yishu.h's enums.
_BOOKS = {"mainland": 0, "taiwan": 1, "eccc": 2}
_VARIANTS = {"book_default": 0, "none": 1, "forms": 2, "all": 3}
_SCRIPTS = {"traditional": 0, "simplified": 1}
_READINGS = {"typed": False, "as_written": True}
_DIRECTIONS = {"to_codes": True, "to_chars": False}
_ENCODINGS = {"utf-8": False, "utf8": False, "cp936": True, "gbk": True}


def _choice(table: dict, name: str, what: str):
    try:
        return table[name]
    except (KeyError, TypeError):
        known = ", ".join(repr(k) for k in table)
        raise ValueError(f"unknown {what} {name!r}; known: {known}") from None


@functools.lru_cache(maxsize=64)
def _options(book: str, variants: str, reading: str, script: str,
             standard_forms: bool) -> "_yishu.Options":
    return _yishu.Options(_choice(_BOOKS, book, "book"), _choice(_VARIANTS, variants, "variants"),
                          _choice(_READINGS, reading, "reading"),
                          _choice(_SCRIPTS, script, "script"), bool(standard_forms))


@dataclass(frozen=True)
class DigitRun:
    """A run of digits that reading codes as written kept as it was.
    ``offset`` and ``units`` count bytes of the encoded text (UTF-8 for str)."""
    offset: int
    units: int
    digits: int


@dataclass(frozen=True)
class VariantUse:
    """A character converted through a variant: ``code`` is the variant's;
    ``sources`` the bits of where the link comes from (see yishu.h)."""
    character: str
    variant: str
    code: int
    sources: int


@dataclass(frozen=True)
class Report:
    """What a conversion did besides its plain work (see yishu.h)."""
    through_variant: int = 0
    ambiguous: int = 0
    other_book_only: int = 0
    no_code: int = 0
    ambiguous_chars: str = ""
    other_book_chars: str = ""
    no_code_chars: str = ""
    through_chars: Tuple[VariantUse, ...] = ()
    unwritable: int = 0
    unwritable_codes: Tuple[int, ...] = ()
    other_script: int = 0
    other_script_codes: Tuple[int, ...] = ()
    old_forms: int = 0
    old_form_codes: Tuple[int, ...] = ()
    codes_without_space: int = 0
    kept_runs: int = 0
    kept: Tuple[DigitRun, ...] = ()
    doubtful_runs: int = 0
    doubtful: Tuple[DigitRun, ...] = ()

    @classmethod
    def _of(cls, fields: dict) -> "Report":
        fields = dict(fields)
        fields["kept"] = tuple(DigitRun(*run) for run in fields["kept"])
        fields["doubtful"] = tuple(DigitRun(*run) for run in fields["doubtful"])
        fields["through_chars"] = tuple(VariantUse(chr(c), chr(v), code, sources)
                                        for c, v, code, sources in fields["through_chars"])
        return cls(**fields)

    def __bool__(self) -> bool:
        return self != Report()


@dataclass(frozen=True)
class Result:
    text: Union[str, bytes]
    report: Report


def _to_bytes(text: Union[str, bytes], encoding: Optional[str]) -> Tuple[bytes, bool, bool]:
    """The bytes for the core, whether they are CP936, and whether the text was str."""
    if isinstance(text, str):
        if encoding is not None:
            raise TypeError("encoding is for bytes; a str is converted as it is")
        return text.encode("utf-8", "surrogatepass"), False, True
    if not isinstance(text, (bytes, bytearray, memoryview)):
        raise TypeError(f"expected str or bytes, not {type(text).__name__}")
    return bytes(text), _choice(_ENCODINGS, encoding or "utf-8", "encoding"), False


def _convert(text, to_codes: bool, options: "_yishu.Options", encoding: Optional[str],
             with_report: bool):
    data, cp936, was_str = _to_bytes(text, encoding)
    out = _yishu.convert(to_codes, data, cp936, options, with_report)
    if with_report:
        out, report = out
    text_out = out.decode("utf-8", "surrogatepass") if was_str else out
    return Result(text_out, Report._of(report)) if with_report else text_out


def convert(text: AnyStr, direction: Direction, *, book: Book = "mainland",
            variants: Variants = "book_default", reading: Reading = "typed",
            script: Script = "traditional", standard_forms: bool = False,
            encoding: Optional[Encoding] = None) -> Result:
    """Converts a whole text and tells what happened besides (the Report).
    Options of the other direction are ignored (see yishu.h's Options)."""
    return _convert(text, _choice(_DIRECTIONS, direction, "direction"),
                    _options(book, variants, reading, script, standard_forms), encoding, True)


def encode(text: AnyStr, book: Book = "mainland", *, variants: Variants = "book_default",
           encoding: Optional[Encoding] = None) -> AnyStr:
    """Characters to codes: 中文 -> '0022 2429 '. A character the book lacks
    takes the code of its variant where `variants` allows and that gives
    exactly one code (by default, other forms in the Taiwan and e-CCC books)."""
    return _convert(text, True, _options(book, variants, "typed", "traditional", False),
                    encoding, False)


def decode(text: AnyStr, book: Book = "mainland", *, reading: Reading = "typed",
           script: Script = "traditional", standard_forms: bool = False,
           encoding: Optional[Encoding] = None) -> AnyStr:
    """Codes to characters: '0022 2429 ' -> 中文 (as typed, a code needs its
    space; reading="as_written" takes codes as people write them). `script`
    chooses the e-CCC book's form; `standard_forms` writes 為 for 爲."""
    return _convert(text, False, _options(book, "book_default", reading, script, standard_forms),
                    encoding, False)


class Converter:
    """Converts a text that comes in pieces, in constant memory: feeding the
    pieces and then calling finish() gives what convert() gives for the whole
    text, however it was split. Without an encoding it takes and gives str;
    with one (``"utf-8"``, ``"cp936"``) bytes in that encoding."""

    def __init__(self, direction: Direction, *, book: Book = "mainland",
                 variants: Variants = "book_default", reading: Reading = "typed",
                 script: Script = "traditional", standard_forms: bool = False,
                 encoding: Optional[Encoding] = None) -> None:
        self._text = encoding is None
        cp936 = _choice(_ENCODINGS, encoding or "utf-8", "encoding")
        self._core = _yishu.Converter(_choice(_DIRECTIONS, direction, "direction"), cp936,
                                      _options(book, variants, reading, script, standard_forms))
        self._decoder = codecs.getincrementaldecoder("utf-8")("surrogatepass")

    def feed(self, piece: AnyStr) -> AnyStr:
        if isinstance(piece, str) != self._text:
            raise TypeError("this Converter takes " + ("str" if self._text else "bytes") +
                            "; make it with an encoding for bytes, without one for str")
        if self._text:
            return self._decoder.decode(self._core.feed(piece.encode("utf-8", "surrogatepass")))
        return self._core.feed(bytes(piece))

    def finish(self) -> Union[str, bytes]:
        """The rest of the output; the converter then takes a new text."""
        out = self._core.finish()
        return self._decoder.decode(out, final=True) if self._text else out

    @property
    def report(self) -> Report:
        return Report._of(self._core.report())

    def convert_file(self, source: IO, target: IO, chunk_size: int = 1 << 16) -> Report:
        """Reads `source` to its end in chunks and writes the conversion to
        `target`: text files for a Converter without an encoding, binary files
        for one with."""
        while True:
            piece = source.read(chunk_size)
            if not piece:
                break
            target.write(self.feed(piece))
        target.write(self.finish())
        return self.report


@dataclass(frozen=True)
class Found:
    """A code of a character: ``via`` is None for the character's own code,
    else the variant the code belongs to, with ``sources`` the bits of where
    that link comes from; ``produced`` marks the code converting gives."""
    code: str
    via: Optional[str] = None
    sources: int = 0
    produced: bool = False


@dataclass(frozen=True)
class Lookup:
    character: str
    mainland: Tuple[Found, ...]
    taiwan: Tuple[Found, ...]
    eccc: Tuple[Found, ...]


def _found(book: int, character: str, variants: int) -> Tuple[Found, ...]:
    return tuple(Found(f"{code:04d}", chr(via) if via else None, sources, produced)
                 for code, via, sources, produced in _yishu.codes_of(book, ord(character), variants))


def lookup(character: str, variants: Variants = "all") -> Lookup:
    """The codes of one character in every book, lowest first; where a book
    lacks it, those of the variants that `variants` follows (several
    different ones mean it is ambiguous)."""
    if not isinstance(character, str) or len(character) != 1:
        raise ValueError(f"lookup takes one character, not {character!r}")
    v = _choice(_VARIANTS, variants, "variants")
    return Lookup(character, *(_found(book, character, v) for book in _BOOKS.values()))


def character(code: Union[str, int], book: Book = "mainland",
              script: Script = "traditional") -> Optional[str]:
    """The character of a code ('0022' or 22), or None where the book has none."""
    number = int(code) if isinstance(code, int) or (
        isinstance(code, str) and len(code) == 4 and code.isascii() and code.isdigit()) else -1
    if not 0 <= number <= 9999:
        raise ValueError(f"a code is four digits or 0..9999, not {code!r}")
    found = _yishu.character_of(_choice(_BOOKS, book, "book"), number,
                                _choice(_SCRIPTS, script, "script"))
    return chr(found) if found else None
