/* The C interface from a C program: every shared case in one call and
 * streamed through a tiny buffer, a name in the Taiwan book in UTF-8 and
 * UTF-16, look-up, the report, and the errors a caller can meet. */
#include <yishu/yishu_c.h>

#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int failures = 0;

#define CHECK(cond, ...)                              \
  do {                                                \
    if (!(cond)) {                                    \
      fprintf(stderr, "%s:%d: ", __FILE__, __LINE__); \
      fprintf(stderr, __VA_ARGS__);                   \
      fputc('\n', stderr);                            \
      ++failures;                                     \
    }                                                 \
  } while (0)

static yishu_options Options(int direction, int book) {
  yishu_options o;
  yishu_options_init(&o, sizeof o);
  o.direction = direction;
  o.book = book;
  return o;
}

/* The whole conversion through the size query; the result is malloc'ed. */
static char* Convert(const yishu_options* o, const char* in, size_t n, size_t* size) {
  int status = yishu_convert(o, in, n, NULL, 0, size, NULL);
  char* out = malloc(*size + 1);
  if (status == YISHU_ERROR_BUFFER_TOO_SMALL || (status == YISHU_OK && *size == 0)) {
    status = yishu_convert(o, in, n, out, *size, size, NULL);
  }
  CHECK(status == YISHU_OK, "yishu_convert: %s", yishu_status_text(status));
  out[*size] = '\0';
  return out;
}

/* The same fed one byte at a time, taken through a 3-byte buffer. */
static char* Stream(const yishu_options* o, const char* in, size_t n, size_t* size) {
  yishu_converter* c = NULL;
  CHECK(yishu_converter_new(o, &c) == YISHU_OK, "yishu_converter_new");
  char* out = malloc(8 * n + 16);
  size_t at = 0, got = 0;
  for (size_t i = 0; i < n; ++i) {
    int status = yishu_converter_feed(c, in + i, 1, out + at, 3, &got);
    for (at += got; status == YISHU_MORE_OUTPUT; at += got) {
      status = yishu_converter_feed(c, NULL, 0, out + at, 3, &got);
    }
    CHECK(status == YISHU_OK, "feed: %s", yishu_status_text(status));
  }
  int status;
  do {
    status = yishu_converter_finish(c, out + at, 3, &got);
    at += got;
  } while (status == YISHU_MORE_OUTPUT);
  CHECK(status == YISHU_OK && yishu_converter_pending(c) == 0, "finish: %s",
        yishu_status_text(status));
  yishu_converter_free(c);
  out[at] = '\0';
  *size = at;
  return out;
}

static char* Unescape(char* s) {
  char* to = s;
  for (char* from = s; *from; ++from) {
    if (*from != '\\') {
      *to++ = *from;
      continue;
    }
    ++from;
    *to++ = *from == 'n' ? '\n' : *from == 'r' ? '\r' : *from == 't' ? '\t' : *from;
  }
  *to = '\0';
  return s;
}

static void SharedCases(const char* path) {
  FILE* file = fopen(path, "rb");
  CHECK(file, "%s: cannot be read", path);
  if (!file) return;
  char line[4096];
  int number = 0, cases = 0;
  while (fgets(line, sizeof line, file)) {
    ++number;
    line[strcspn(line, "\n")] = '\0';
    if (!line[0] || line[0] == '#') continue;
    char* fields[4] = {line, NULL, NULL, NULL};
    for (int i = 1; i < 4 && fields[i - 1]; ++i) {
      char* tab = strchr(fields[i - 1], '\t');
      if (tab) *tab = '\0', fields[i] = tab + 1;
    }
    CHECK(fields[3], "%s:%d: not four fields", path, number);
    if (!fields[3]) continue;
    const yishu_options o =
        Options(strcmp(fields[0], "to-codes") == 0 ? YISHU_TO_CODES : YISHU_TO_CHARS, 0);
    const char* input = Unescape(fields[1]);
    const char* expected = Unescape(fields[2]);
    size_t size;
    char* whole = Convert(&o, input, strlen(input), &size);
    CHECK(size == strlen(expected) && memcmp(whole, expected, size) == 0,
          "%s:%d: gave '%s', not '%s'", path, number, whole, expected);
    char* streamed = Stream(&o, input, strlen(input), &size);
    CHECK(strcmp(streamed, expected) == 0, "%s:%d streamed: gave '%s'", path, number, streamed);
    free(whole);
    free(streamed);
    ++cases;
  }
  fclose(file);
  CHECK(cases > 40, "only %d cases in %s", cases, path);
}

static void Name(void) {
  const char* name = "陳大文";
  const char* codes = "7115 1129 2429 ";
  yishu_options o = Options(YISHU_TO_CODES, YISHU_BOOK_TAIWAN);
  size_t size;
  char* out = Convert(&o, name, strlen(name), &size);
  CHECK(strcmp(out, codes) == 0, "陳大文 gave '%s'", out);
  free(out);

  /* UTF-16, streamed in odd-sized pieces that cut units in two. */
  const uint16_t units[] = {0x9673, 0x5927, 0x6587};
  o.encoding = YISHU_UTF16;
  yishu_converter* c = NULL;
  CHECK(yishu_converter_new(&o, &c) == YISHU_OK, "new UTF-16 converter");
  uint16_t got[32];
  size_t at = 0, n = 0;
  const char* bytes = (const char*)units;
  CHECK(yishu_converter_feed(c, bytes, 3, (char*)got, sizeof got, &n) == YISHU_OK, "feed 3");
  at += n;
  CHECK(yishu_converter_feed(c, bytes + 3, 3, (char*)got + at, sizeof got - at, &n) == YISHU_OK,
        "feed 3 more");
  at += n;
  CHECK(yishu_converter_finish(c, (char*)got + at, sizeof got - at, &n) == YISHU_OK, "finish");
  at += n;
  yishu_converter_free(c);
  CHECK(at == 2 * strlen(codes), "UTF-16 name gave %zu bytes", at);
  for (size_t i = 0; i < at / 2 && i < strlen(codes); ++i) {
    CHECK(got[i] == (uint16_t)codes[i], "UTF-16 unit %zu is %04x", i, got[i]);
  }

  /* The same codes in the e-CCC book, in each of its scripts. */
  o = Options(YISHU_TO_CHARS, YISHU_BOOK_ECCC);
  out = Convert(&o, codes, strlen(codes), &size);
  CHECK(strcmp(out, "陳大文") == 0, "e-CCC traditional gave '%s'", out);
  free(out);
  o.script = YISHU_SCRIPT_SIMPLIFIED;
  out = Convert(&o, codes, strlen(codes), &size);
  CHECK(strcmp(out, "陈大文") == 0, "e-CCC simplified gave '%s'", out);
  free(out);
}

static void LookUp(void) {
  yishu_code_found found[8];
  size_t count = 0;
  /* The Taiwan book has 衛 through its other form 衞, which its book holds. */
  CHECK(yishu_codes_of(YISHU_BOOK_TAIWAN, 0x885B, YISHU_VARIANTS_BOOK_DEFAULT, found, 8,
                       sizeof found[0], &count) == YISHU_OK &&
            count == 1 && found[0].code == 5898 && found[0].via == 0x885E && found[0].produced &&
            found[0].sources != 0 && !(found[0].sources & YISHU_SOURCE_UNIHAN_SIMPLIFIED),
        "衛 in the Taiwan book");
  CHECK(yishu_codes_of(YISHU_BOOK_TAIWAN, 0x885B, YISHU_VARIANTS_NONE, found, 8, sizeof found[0],
                       &count) == YISHU_OK &&
            count == 0,
        "衛 in the Taiwan book without variants");
  uint32_t character = 0;
  CHECK(yishu_character_of(YISHU_BOOK_MAINLAND, 5898, YISHU_SCRIPT_TRADITIONAL, &character) ==
                YISHU_OK &&
            character == 0x536B,
        "5898 gives U+%04X", character);
  CHECK(yishu_character_of(YISHU_BOOK_ECCC, 16, YISHU_SCRIPT_SIMPLIFIED, &character) == YISHU_OK &&
            character == 0x4E22,
        "e-CCC 0016 gives U+%04X", character);
  CHECK(yishu_character_of(YISHU_BOOK_MAINLAND, 0, 0, &character) == YISHU_OK && character == 0,
        "0000 has no character");
  CHECK(yishu_codes_of(YISHU_BOOK_MAINLAND, 0x4E00, 0, found, 0, sizeof found[0], &count) ==
                YISHU_ERROR_BUFFER_TOO_SMALL &&
            count >= 1,
        "a size query for 一");
}

static void Report(void) {
  yishu_options o = Options(YISHU_TO_CHARS, 0);
  o.reading = YISHU_READING_AS_WRITTEN;
  yishu_digit_run runs[1];
  yishu_report r;
  yishu_report_init(&r, sizeof r);
  r.kept = runs;
  r.kept_capacity = 1;
  const char* text = "1129-12345-0000";
  char out[64];
  size_t size;
  CHECK(yishu_convert(&o, text, strlen(text), out, sizeof out, &size, &r) == YISHU_OK, "convert");
  CHECK(r.kept_runs == 2 && r.kept_listed == 1 && runs[0].offset == 5 && runs[0].units == 5,
        "kept runs: %llu, listed %llu", (unsigned long long)r.kept_runs,
        (unsigned long long)r.kept_listed);
  CHECK(r.kept == runs && r.struct_size == sizeof r, "the caller's fields stay");

  /* Doubtful runs, listed as kept runs are; a report of the first version
   * (without them) is filled up to its end only. */
  yishu_digit_run doubtful[2];
  yishu_report_init(&r, sizeof r);
  r.doubtful = doubtful;
  r.doubtful_capacity = 2;
  text = "HK$0022 2429年 0022";
  CHECK(yishu_convert(&o, text, strlen(text), out, sizeof out, &size, &r) == YISHU_OK &&
            r.doubtful_runs == 2 && r.doubtful_listed == 2 && doubtful[0].offset == 3 &&
            doubtful[0].units == 4 && doubtful[1].offset == 8,
        "doubtful runs: %llu, listed %llu", (unsigned long long)r.doubtful_runs,
        (unsigned long long)r.doubtful_listed);
  yishu_report_init(&r, offsetof(yishu_report, doubtful_runs));
  r.doubtful_runs = 7;
  CHECK(yishu_convert(&o, text, strlen(text), out, sizeof out, &size, &r) == YISHU_OK &&
            r.doubtful_runs == 7,
        "a first-version report");

  o = Options(YISHU_TO_CODES, YISHU_BOOK_TAIWAN);
  CHECK(yishu_convert(&o, "衛", 3, out, sizeof out, &size, &r) == YISHU_OK &&
            r.through_variant == 1 && r.through_listed == 1 &&
            r.through_chars[0].character == 0x885B && r.through_chars[0].variant == 0x885E &&
            r.through_chars[0].code == 5898,
        "衛 through 衞");
  o = Options(YISHU_TO_CHARS, YISHU_BOOK_TAIWAN);
  o.standard_forms = 1;
  CHECK(yishu_convert(&o, "5898 ", 5, out, sizeof out, &size, &r) == YISHU_OK && size == 3 &&
            memcmp(out, "衛", 3) == 0 && r.old_forms == 1 && r.old_forms_listed == 1 &&
            r.old_form_codes[0] == 5898,
        "5898 in its standard form");
}

static void Errors(void) {
  yishu_options o = Options(YISHU_TO_CODES, 0);
  char out[16] = "untouched";
  size_t size = 0;
  CHECK(yishu_convert(&o, "中文", 6, out, 9, &size, NULL) == YISHU_ERROR_BUFFER_TOO_SMALL &&
            size == 10 && strcmp(out, "untouched") == 0,
        "too small a buffer: size %zu", size);
  o.book = 7;
  CHECK(yishu_convert(&o, "a", 1, out, 16, &size, NULL) == YISHU_ERROR_ARGUMENT, "unknown book");
  o.book = 0;
  o.script = 2;
  CHECK(yishu_convert(&o, "a", 1, out, 16, &size, NULL) == YISHU_ERROR_ARGUMENT, "unknown script");
  o.script = 0;
  o.struct_size = 8;
  CHECK(yishu_convert(&o, "a", 1, out, 16, &size, NULL) == YISHU_ERROR_ARGUMENT, "an old size");
  /* A newer header's options: the unknown field must keep its default. */
  struct {
    yishu_options known;
    int32_t newer;
  } newer = {Options(YISHU_TO_CODES, 0), 1};
  newer.known.struct_size = sizeof newer;
  CHECK(yishu_convert(&newer.known, "a", 1, out, 16, &size, NULL) == YISHU_ERROR_UNSUPPORTED,
        "an unknown option set");
  newer.newer = 0;
  CHECK(yishu_convert(&newer.known, "a", 1, out, 16, &size, NULL) == YISHU_OK, "unknown default");
  o = Options(YISHU_TO_CODES, 0);
  o.encoding = YISHU_UTF16;
  CHECK(yishu_convert(&o, "abc", 3, out, 16, &size, NULL) == YISHU_ERROR_ARGUMENT, "odd UTF-16");
  CHECK(yishu_convert(&o, NULL, 2, out, 16, &size, NULL) == YISHU_ERROR_ARGUMENT, "no text");
  CHECK(yishu_converter_new(NULL, NULL) == YISHU_ERROR_ARGUMENT, "no options");
  CHECK(yishu_character_of(0, 10000, 0, &(uint32_t){0}) == YISHU_ERROR_ARGUMENT, "code 10000");
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s conversion.tsv\n", argv[0]);
    return 2;
  }
  SharedCases(argv[1]);
  Name();
  LookUp();
  Report();
  Errors();
  if (failures) fprintf(stderr, "%d checks failed\n", failures);
  return failures ? 1 : 0;
}
