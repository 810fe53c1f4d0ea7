/* yishu_c.h: the C interface of yishu, for C programs and for the foreign
 * function interfaces of other languages (Python ctypes or cffi, C#, Java,
 * Go, Rust).
 *
 * It converts texts between Chinese telegraph codes and Chinese characters
 * exactly as the C++ interface (yishu.h) does, over byte buffers:
 *
 *   yishu_options options;
 *   yishu_options_init(&options, sizeof options);
 *   options.direction = YISHU_TO_CODES;
 *   size_t size = 0;
 *   yishu_convert(&options, "中文", 6, NULL, 0, &size, NULL);  -> YISHU_ERROR_BUFFER_TOO_SMALL,
 * size 10 char* out = malloc(size); yishu_convert(&options, "中文", 6, out, size, &size, NULL); ->
 * YISHU_OK, "0022 2429 "
 *
 * Rules that hold for every function:
 *   - The caller owns every buffer; the library never keeps a pointer to one
 *     after a call returns, and never allocates memory the caller must free
 *     (a converter is freed with yishu_converter_free).
 *   - Every function that can fail returns a yishu_status; no function aborts
 *     the program and no C++ exception leaves the library. Where a call
 *     fails with YISHU_ERROR_ARGUMENT, YISHU_ERROR_BUFFER_TOO_SMALL or
 *     YISHU_ERROR_UNSUPPORTED, nothing was written and a converter is as it
 *     was; after YISHU_ERROR_NO_MEMORY or YISHU_ERROR_INTERNAL a converter
 *     can only be freed.
 *   - Output is never NUL-terminated: sizes say where it ends. Texts are
 *     bytes: UTF-8, CP936 (GBK) or UTF-16 in the machine's byte order, all
 *     sizes in bytes.
 *   - Structs begin with struct_size, which the caller sets to the sizeof it
 *     was compiled with (the _init functions do). A program built against an
 *     older header keeps working with a newer library; a newer program gets
 *     YISHU_ERROR_UNSUPPORTED from an older library only when it asks for
 *     something that library cannot do.
 *   - All functions are thread-safe; a converter is used by one thread at a
 *     time.
 */
#ifndef YISHU_C_H
#define YISHU_C_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#if defined(YISHU_BUILDING) && defined(YISHU_SHARED)
#define YISHU_C_API __declspec(dllexport)
#elif defined(YISHU_SHARED)
#define YISHU_C_API __declspec(dllimport)
#else
#define YISHU_C_API
#endif
#else
#define YISHU_C_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The version of this interface; it grows when functions, enum values or
 * struct fields are added, and never goes back. */
#define YISHU_C_INTERFACE_VERSION 2

typedef enum yishu_status {
  YISHU_OK = 0,
  /* A converter has more output waiting than the buffer could take: call
   * again (feed with no input, or finish) with room for it. */
  YISHU_MORE_OUTPUT = 1,
  /* A null pointer where a buffer is needed, a value outside its enum, a
   * struct_size smaller than the first version of the struct. */
  YISHU_ERROR_ARGUMENT = -1,
  /* The output does not fit: *written holds the size needed, nothing was
   * written. */
  YISHU_ERROR_BUFFER_TOO_SMALL = -2,
  /* A book or option that this build of the library does not have yet. */
  YISHU_ERROR_UNSUPPORTED = -3,
  YISHU_ERROR_NO_MEMORY = -4,
  /* A fault inside the library; please report it. */
  YISHU_ERROR_INTERNAL = -5
} yishu_status;

/* A short English text for a status ("output buffer too small"); never
 * null. */
YISHU_C_API const char* yishu_status_text(int status);

/* The library's version, "MAJOR.MINOR.PATCH", and the interface version
 * it implements (YISHU_C_INTERFACE_VERSION of its header). */
YISHU_C_API const char* yishu_version(void);
YISHU_C_API int32_t yishu_interface_version(void);

typedef enum yishu_direction {
  YISHU_TO_CHARS = 0, /* codes become characters: "0022 2429 " -> 中文 */
  YISHU_TO_CODES = 1  /* characters become codes: 中文 -> "0022 2429 " */
} yishu_direction;

typedef enum yishu_encoding {
  YISHU_UTF8 = 0,
  YISHU_CP936 = 1, /* Windows code page 936, GBK */
  YISHU_UTF16 = 2  /* 16-bit units in the machine's byte order */
} yishu_encoding;

typedef enum yishu_book {
  YISHU_BOOK_MAINLAND = 0,
  YISHU_BOOK_TAIWAN = 1, /* also for Hong Kong and Macau */
  YISHU_BOOK_ECCC = 2    /* the banks' e-CCC, with a traditional and a
                            simplified form of each code */
} yishu_book;

typedef enum yishu_reading {
  /* A code converts once its space follows: "0022 " becomes 中, "0022"
   * stays. */
  YISHU_READING_TYPED = 0,
  /* Codes as people write them: "0022,2429" -> 中,文, "00222429" -> 中文. */
  YISHU_READING_AS_WRITTEN = 1
} yishu_reading;

/* Characters to codes: which variant links a character that the book lacks
 * may take, when they give exactly one code. */
typedef enum yishu_variants {
  /* FORMS for the Taiwan and e-CCC books, NONE for the mainland book. */
  YISHU_VARIANTS_BOOK_DEFAULT = 0,
  YISHU_VARIANTS_NONE = 1,
  /* Other written forms of the same character (衛 takes the code of 衞). */
  YISHU_VARIANTS_FORMS = 2,
  /* FORMS, and the simplified and traditional links (叶 takes that of 葉). */
  YISHU_VARIANTS_ALL = 3
} yishu_variants;

/* Where a variant link comes from, as bits of a mask. */
enum {
  YISHU_SOURCE_UNIHAN_SIMPLIFIED = 1,
  YISHU_SOURCE_UNIHAN_TRADITIONAL = 2,
  YISHU_SOURCE_UNIHAN_SEMANTIC = 4,
  YISHU_SOURCE_UNIHAN_SPECIALIZED_SEMANTIC = 8,
  YISHU_SOURCE_UNIHAN_Z = 16,
  YISHU_SOURCE_OPENCC_TAIWAN = 32,
  YISHU_SOURCE_OPENCC_HONG_KONG = 64
};

/* Which of an e-CCC code's two forms codes convert to; where the book has
 * only the other one, that is written and counted (other_script). */
typedef enum yishu_script {
  YISHU_SCRIPT_TRADITIONAL = 0,
  YISHU_SCRIPT_SIMPLIFIED = 1
} yishu_script;

/* How to convert. yishu_options_init sets every field to its default, which
 * is also its zero: codes to characters in UTF-8, the mainland book, codes
 * as typed. */
typedef struct yishu_options {
  uint32_t struct_size; /* sizeof(yishu_options) */
  int32_t direction;    /* yishu_direction */
  int32_t encoding;     /* yishu_encoding */
  int32_t book;         /* yishu_book */
  int32_t reading;      /* yishu_reading, codes to characters */
  int32_t variants;     /* yishu_variants, characters to codes */
  int32_t script;       /* yishu_script, e-CCC codes to characters */
  /* Codes to characters in the traditional books: 1 writes the standard form
   * where the book's character is an old form that Big5 has in a standard
   * form (為, not 爲); 0 writes the book's own form. Both count such codes
   * (old_forms). */
  int32_t standard_forms;
} yishu_options;

/* Sets `struct_size` and every field's default. `size` is sizeof(*options). */
YISHU_C_API int yishu_options_init(yishu_options* options, size_t size);

/* A run of digits that reading codes as written kept as it was. Offsets and
 * lengths are in the text's units: bytes, or 16-bit units for UTF-16. */
typedef struct yishu_digit_run {
  uint64_t offset;
  uint64_t units;
  uint64_t digits;
} yishu_digit_run;

#define YISHU_LISTED_CHARS 32

/* A character converted through a variant: its code is the variant's. */
typedef struct yishu_variant_use {
  uint32_t character;
  uint32_t variant;
  uint16_t code;
  uint8_t sources; /* YISHU_SOURCE_ bits of the link */
  uint8_t reserved0;
} yishu_variant_use;

/* What a conversion did besides its plain work. Counts cover the whole text;
 * the lists hold each character or code once, in order of first appearance,
 * at most YISHU_LISTED_CHARS of them. Characters are Unicode code points. */
typedef struct yishu_report {
  uint32_t struct_size; /* sizeof(yishu_report); set by the caller */
  uint32_t reserved0;

  /* Characters to codes, with variants: */
  uint64_t through_variant; /* converted through a variant */
  uint64_t ambiguous;       /* left: their variants give several codes */
  uint64_t other_book_only; /* left: only another book has a code */
  uint64_t no_code;         /* CJK ideographs left: no book has a code */
  uint32_t ambiguous_chars[YISHU_LISTED_CHARS];
  uint32_t other_book_chars[YISHU_LISTED_CHARS];
  uint32_t no_code_chars[YISHU_LISTED_CHARS];
  uint32_t ambiguous_listed, other_book_listed, no_code_listed;
  uint32_t through_listed;
  /* The characters converted through a variant, each once, with it. */
  yishu_variant_use through_chars[YISHU_LISTED_CHARS];

  /* Codes to characters: codes left as digits because the text's form cannot
   * hold their character (CP936 lacks some characters of the Taiwan book). */
  uint32_t unwritable_listed;
  uint64_t unwritable;
  uint16_t unwritable_codes[YISHU_LISTED_CHARS];

  /* Codes to characters as typed: codes left only because no space followed
   * them. Reading codes as written would have converted them. */
  uint64_t codes_without_space;

  /* Codes to characters as written: runs of digits kept as they were. The
   * caller may give an array `kept` of `kept_capacity` runs (or null and 0);
   * the library writes the first runs of the text there and sets
   * `kept_listed`. It never writes more than kept_capacity runs. */
  uint64_t kept_runs;
  yishu_digit_run* kept;
  uint64_t kept_capacity;
  uint64_t kept_listed;

  /* Codes to characters in the e-CCC book: codes written in the other script
   * because the book has no form in the chosen one. */
  uint64_t other_script;
  uint16_t other_script_codes[YISHU_LISTED_CHARS];
  uint32_t other_script_listed;

  /* Codes to characters in the traditional books: codes whose character is
   * an old form with a standard form in Big5 (written in the standard form
   * with standard_forms, else in the old form). */
  uint32_t old_forms_listed;
  uint64_t old_forms;
  uint16_t old_form_codes[YISHU_LISTED_CHARS];

  /* Codes to characters as written (interface version 2): runs of exactly
   * four digits that converted, but that a letter, a currency sign or one of
   * 年月日號号 stands right next to (HK$1999, Tel2345, 1949年), as numbers
   * often are: worth checking. Listed as the kept runs are, in the caller's
   * array `doubtful` of `doubtful_capacity` runs (or null and 0). */
  uint64_t doubtful_runs;
  yishu_digit_run* doubtful;
  uint64_t doubtful_capacity;
  uint64_t doubtful_listed;
} yishu_report;

/* Zeroes the report and sets struct_size; `size` is sizeof(*report). Set
 * `kept` and `kept_capacity` (`doubtful` and `doubtful_capacity`) afterwards
 * to have the kept (doubtful) runs listed. */
YISHU_C_API int yishu_report_init(yishu_report* report, size_t size);

/* Converts a whole text of `size` bytes. With room enough (`capacity` bytes
 * at `out`), writes the result there, sets *written to its size and returns
 * YISHU_OK. Otherwise returns YISHU_ERROR_BUFFER_TOO_SMALL with *written set
 * to the size needed; `out` may then be null and `capacity` 0, which is the
 * size query. The query converts the text, so a second call converts it
 * again; for long texts a converter with a fixed buffer avoids that.
 * `report` may be null; when given, it is filled (the kept runs' array too)
 * on YISHU_OK and on YISHU_ERROR_BUFFER_TOO_SMALL. For UTF-16, `size` is
 * even. */
YISHU_C_API int yishu_convert(const yishu_options* options, const void* text, size_t size,
                              void* out, size_t capacity, size_t* written, yishu_report* report);

/* A converter takes a text in pieces, in constant memory, and gives exactly
 * what yishu_convert gives for the whole text, however it was split (a
 * UTF-16 piece may even end inside a unit). */
typedef struct yishu_converter yishu_converter;

/* Makes a converter; *converter is set on YISHU_OK only. */
YISHU_C_API int yishu_converter_new(const yishu_options* options, yishu_converter** converter);

/* Frees a converter; null is allowed. */
YISHU_C_API void yishu_converter_free(yishu_converter* converter);

/* Converts the next `size` bytes of the text (`piece` may be null when size
 * is 0) and writes to `out` as much of the output as no later piece can
 * change and fits in `capacity`; *written says how much. The whole piece is
 * always taken. Returns YISHU_OK when all output is written, or
 * YISHU_MORE_OUTPUT when some waits in the converter: then call again with
 * no input and room (yishu_converter_pending says how much). */
YISHU_C_API int yishu_converter_feed(yishu_converter* converter, const void* piece, size_t size,
                                     void* out, size_t capacity, size_t* written);

/* Ends the text: writes the rest of the output as feed does. On
 * YISHU_MORE_OUTPUT, call finish again until it returns YISHU_OK (feeding
 * more text before that is YISHU_ERROR_ARGUMENT); after that the converter
 * takes a new text. */
YISHU_C_API int yishu_converter_finish(yishu_converter* converter, void* out, size_t capacity,
                                       size_t* written);

/* The bytes of output waiting in the converter. */
YISHU_C_API size_t yishu_converter_pending(const yishu_converter* converter);

/* The report of the text so far, as for yishu_convert. */
YISHU_C_API int yishu_converter_report(const yishu_converter* converter, yishu_report* report);

/* A code that a character has in a book. */
typedef struct yishu_code_found {
  uint16_t code;    /* 0..9999 */
  uint8_t produced; /* 1 for the code that converting the character gives */
  uint8_t sources;  /* with a variant: the YISHU_SOURCE_ bits of its link */
  uint32_t via;     /* 0: the character's own code; else the variant it belongs to */
} yishu_code_found;

/* The codes of `character` (a code point) in `book`, lowest first; where the
 * book has none, those of the variants that `variants` (yishu_variants, as
 * in conversion; YISHU_VARIANTS_ALL shows every link) follows, each with its
 * variant and the link's sources:
 * several different codes there mean the character is ambiguous. Writes at most `capacity` entries
 * of `entry_size` bytes each (sizeof(yishu_code_found)) to `found` and sets *count to how many
 * there are; returns YISHU_ERROR_BUFFER_TOO_SMALL, writing nothing, if they do not fit. A character
 * without codes gives YISHU_OK and a count of 0. */
YISHU_C_API int yishu_codes_of(int32_t book, uint32_t character, int32_t variants,
                               yishu_code_found* found, size_t capacity, size_t entry_size,
                               size_t* count);

/* The character (a code point) of `code` (0..9999) in `book`, in the form of
 * `script` (yishu_script; e-CCC only, where a missing form gives the other
 * one), or 0 where the book has none. */
YISHU_C_API int yishu_character_of(int32_t book, int32_t code, int32_t script, uint32_t* character);

#ifdef __cplusplus
}
#endif

#endif /* YISHU_C_H */
