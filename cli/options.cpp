#include "options.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace telecode {

// Usage errors name what is wrong and point to --help, as GNU tools do.
const std::string_view kUsage = "Try 'telecode --help' for more information.\n";

// The one text of telecode's usage: --help prints it, the manual page is made
// from it by help2man and docs/telecode.md shows it (tools/gen_usage_doc.py).
// help2man reads "Usage:"/"  or:" as the synopsis, option lines as options,
// and a line "Heading:" as the start of a section of that name.
const std::string_view kHelp =
    "Usage: telecode [-b BOOK] [--variants[=KIND]] [-e ENCODING] [FILE...]\n"
    "  or:  telecode -d | -w [-b BOOK] [-e ENCODING] [--script=SCRIPT] [FILE...]\n"
    "  or:  telecode --list [-b BOOK] [-e ENCODING]\n"
    "  or:  telecode --lookup TEXT...\n"
    "Converts Chinese characters to four-digit telegraph codes, each followed by a\n"
    "space, or with -d such codes back to characters. Reads each FILE in turn, or\n"
    "standard input when there is none or FILE is -, and writes the result to\n"
    "standard output. Text without a code passes through unchanged.\n"
    "\n"
    "Three code books are built in. Choose the mainland book (the default) for\n"
    "simplified text, the Taiwan book for traditional text and for documents\n"
    "from Hong Kong, Macau and Taiwan (identity cards, visa forms), the e-CCC\n"
    "book for the codes that banks use in the names of CNY payments.\n"
    "\n"
    "Options:\n"
    "  -d, --decode             codes to characters; a code converts once its\n"
    "                           space follows (\"0022 \" becomes 中)\n"
    "  -w, --as-written         codes to characters, read as people write them:\n"
    "                           a run of exactly four digits is a code whatever\n"
    "                           follows it (a line break, a comma, the end) and\n"
    "                           takes one space after it; runs of 8, 12, ...\n"
    "                           digits are codes written together; day codes\n"
    "                           (99010) convert; full-width ０-９ count as digits.\n"
    "                           Other runs of digits stay as they are and are\n"
    "                           listed on standard error with their byte offsets,\n"
    "                           as are codes right next to a letter, a currency\n"
    "                           sign or 年月日號号 (HK$1999, 1949年), to be checked\n"
    "  -e, --encoding=ENCODING  utf-8 (the default), cp936 (also: gbk), gb18030,\n"
    "                           utf-16 (byte order from its byte-order mark,\n"
    "                           little-endian without one), utf-16be or utf-16le\n"
    "  -b, --book=BOOK          mainland (the default), taiwan or eccc\n"
    "      --variants[=KIND]    a character the book lacks takes the code of a\n"
    "                           variant where those give exactly one code: none;\n"
    "                           forms, other forms of the same character (衛 takes\n"
    "                           the code of 衞; the default of the taiwan and eccc\n"
    "                           books); all (--variants alone), forms and the\n"
    "                           simplified or traditional forms. A summary on\n"
    "                           standard error names every such character\n"
    "      --script=SCRIPT      codes to characters in the eccc book: traditional\n"
    "                           (the default) or simplified\n"
    "      --standard-forms     codes to characters in the taiwan and eccc books:\n"
    "                           write the standard form in Big5 of a character\n"
    "                           the book has in an old form (為, not 爲)\n"
    "      --list               print the code book: code, tab, character\n"
    "      --lookup             for each character and four-digit code in the\n"
    "                           TEXT arguments, print what both books give\n"
    "  -h, --help               print this help\n"
    "  -V, --version            print the version\n"
    "\n"
    "Options may come before or after the files and be bundled (-degbk); after\n"
    "-- every argument is a file. Invalid input passes through byte for byte;\n"
    "the first invalid sequence is reported on standard error. A code whose\n"
    "character the encoding cannot hold (cp936 lacks a few of the Taiwan book)\n"
    "stays as it is, and a summary on standard error says so.\n"
    "\n"
    "Look-up:\n"
    "  With --lookup, telecode prints one line per character or code, in\n"
    "  UTF-8, with seven fields separated by tabs: the character or code;\n"
    "  then for each book (mainland, Taiwan, e-CCC) its codes (or character)\n"
    "  and the variants they were found through with the sources of the link\n"
    "  in brackets, or -.\n"
    "  A book without any gives none. Several codes are separated by spaces,\n"
    "  and so are their variants. Codes found through a simplified or\n"
    "  traditional form (unihan-simplified, unihan-traditional) convert only\n"
    "  with --variants=all.\n"
    "\n"
    "Exit status:\n"
    "  0  success\n"
    "  1  a file could not be read or the output not written\n"
    "  2  a wrong command line\n"
    "\n"
    "Examples:\n"
    "  echo 中文 | telecode             prints 0022 2429\n"
    "  telecode -d -e gbk in.txt > out.txt\n"
    "                                  codes in a GBK file to characters\n"
    "  telecode --list | grep 中        the code of 中: 0022\n"
    "  echo 7115 1129 2429 | telecode -w -b taiwan\n"
    "                                  a name from a Hong Kong identity card:\n"
    "                                  陳大文\n"
    "  printf '0022\\n2429\\n' | telecode -w\n"
    "                                  one code a line: 中 and 文, each on its line\n"
    "  echo 陳大文 | telecode -b taiwan  prints 7115 1129 2429\n"
    "  echo 衛志強 | telecode -b taiwan  prints 5898 1807 1730 (衛 through 衞)\n"
    "  telecode --lookup 葉 | cut -f4   the code of 葉 in the Taiwan book: 5509\n";

std::optional<TextEncoding> EncodingFromName(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, TextEncoding>, 12> kNames = {{
      {"utf-8", TextEncoding::kUtf8},
      {"utf8", TextEncoding::kUtf8},
      {"cp936", TextEncoding::kCp936},
      {"gbk", TextEncoding::kCp936},
      {"gb18030", TextEncoding::kGb18030},
      {"utf-16", TextEncoding::kUtf16},
      {"utf16", TextEncoding::kUtf16},
      {"utf-16be", TextEncoding::kUtf16Be},
      {"utf16be", TextEncoding::kUtf16Be},
      {"utf-16le", TextEncoding::kUtf16Le},
      {"utf16le", TextEncoding::kUtf16Le},
      {"ms936", TextEncoding::kCp936},
  }};
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const auto& [known, encoding] : kNames) {
    if (lower == known) return encoding;
  }
  return std::nullopt;
}

namespace {

// Options are accepted anywhere before "--", as with most Unix tools; short
// options may be bundled (-de gbk) and -e may carry its value (-egbk).
class Parser {
 public:
  explicit Parser(const std::vector<std::string>& args) : args_(args) {}

  std::variant<Options, UsageError> Parse() {
    bool list = false, lookup = false, help = false, version = false;
    for (index_ = 0; index_ < args_.size(); ++index_) {
      const std::string& arg = args_[index_];
      if (arg == "--") {
        options_.files.insert(options_.files.end(), args_.begin() + index_ + 1, args_.end());
        break;
      }
      if (arg.size() < 2 || arg[0] != '-') {
        options_.files.push_back(arg);  // also "-", standard input
      } else if (arg[1] == '-') {
        std::string_view name = std::string_view(arg).substr(2);
        std::optional<std::string> value;
        if (auto eq = name.find('='); eq != name.npos) {
          value = std::string(name.substr(eq + 1));
          name = name.substr(0, eq);
        }
        if (name != "encoding" && name != "book" && name != "variants" && name != "script" && value)
          return UsageError{"option '--" + std::string(name) + "' takes no value"};
        if (name == "decode") {
          Decode();
        } else if (name == "as-written") {
          ReadAsWritten();
        } else if (name == "list") {
          list = true;
        } else if (name == "lookup") {
          lookup = true;
        } else if (name == "variants") {
          if (auto error = SetVariants(value.value_or("all"))) return *error;
        } else if (name == "script") {
          if (!value && !(value = NextValue()))
            return UsageError{"option '--script' needs a script"};
          if (auto error = SetScript(*value)) return *error;
        } else if (name == "standard-forms") {
          options_.core.standard_forms = true;
        } else if (name == "book") {
          if (!value && !(value = NextValue())) return UsageError{"option '--book' needs a book"};
          if (auto error = SetBook(*value)) return *error;
        } else if (name == "help") {
          help = true;
        } else if (name == "version") {
          version = true;
        } else if (name == "encoding") {
          if (!value && !(value = NextValue())) return MissingValue("--encoding");
          if (auto error = SetEncoding(*value)) return *error;
        } else {
          return UsageError{"unknown option '" + arg + "'"};
        }
      } else {
        for (std::size_t i = 1; i < arg.size(); ++i) {
          switch (arg[i]) {
            case 'd':
              Decode();
              break;
            case 'w':
              ReadAsWritten();
              break;
            case 'h':
              help = true;
              break;
            case 'V':
              version = true;
              break;
            case 'e':
            case 'b': {
              const char option = arg[i];
              std::optional<std::string> value;
              if (i + 1 < arg.size()) {
                value = arg.substr(i + 1);
              } else if (!(value = NextValue())) {
                if (option == 'b') return UsageError{"option '-b' needs a book"};
                return MissingValue("-e");
              }
              if (auto error = option == 'b' ? SetBook(*value) : SetEncoding(*value)) return *error;
              i = arg.size();
              break;
            }
            default:
              return UsageError{"unknown option '-" + std::string(1, arg[i]) + "'"};
          }
        }
      }
    }
    if (help) {
      options_.action = Action::kHelp;
    } else if (version) {
      options_.action = Action::kVersion;
    } else if (list && lookup) {
      return UsageError{"--list and --lookup do not go together"};
    } else if (list) {
      if (!options_.files.empty()) return UsageError{"--list reads no files"};
      if (decoding_) return UsageError{"--list prints the code book: it takes no -d or -w"};
      options_.action = Action::kList;
    } else if (lookup) {
      if (options_.files.empty()) return UsageError{"--lookup needs a text to look up"};
      if (options_.encoding != TextEncoding::kUtf8) {
        return UsageError{"--lookup reads its arguments and writes UTF-8: it takes no -e"};
      }
      options_.action = Action::kLookUp;
    } else if (decoding_ && options_.core.variants == yishu::Variants::All) {
      return UsageError{
          "--variants finds codes for characters: it does not go with -d or -w, which read codes"};
    } else if (!decoding_ && (options_.core.script != yishu::Script::Traditional ||
                              options_.core.standard_forms)) {
      return UsageError{
          "--script and --standard-forms choose what codes decode to: they go with "
          "-d or -w"};
    }
    return options_;
  }

 private:
  void Decode() {
    options_.direction = yishu::Direction::CodeToChar;
    decoding_ = true;
  }

  // Reading codes only makes sense in one direction: the option implies it.
  void ReadAsWritten() {
    Decode();
    options_.core.reading = yishu::CodeReading::AsWritten;
  }

  std::optional<std::string> NextValue() {
    if (index_ + 1 >= args_.size()) return std::nullopt;
    return args_[++index_];
  }

  static UsageError MissingValue(const std::string& option) {
    return UsageError{"option '" + option + "' needs an encoding"};
  }

  template <typename T>
  struct Named {
    const char* name;
    T value;
  };

  // Sets `to` from the value's name (`key`, the typed `name` as it is
  // compared); an alias comes after its first name, and the error lists
  // first names only.
  template <typename T, std::size_t N>
  static std::optional<UsageError> SetNamed(T& to, const char* what, const std::string& name,
                                            const std::string& key, const Named<T> (&known)[N]) {
    for (const Named<T>& entry : known) {
      if (key == entry.name) {
        to = entry.value;
        return std::nullopt;
      }
    }
    std::string names;
    for (std::size_t i = 0; i < N; ++i) {
      if (i > 0 && known[i].value == known[i - 1].value) continue;
      names += (names.empty() ? "" : ", ") + std::string(known[i].name);
    }
    return UsageError{"unknown " + std::string(what) + " '" + name + "' (known: " + names + ")"};
  }

  std::optional<UsageError> SetBook(const std::string& name) {
    static constexpr Named<yishu::Book> kBooks[] = {{"mainland", yishu::Book::Mainland},
                                                    {"taiwan", yishu::Book::Taiwan},
                                                    {"eccc", yishu::Book::Eccc},
                                                    {"e-ccc", yishu::Book::Eccc}};
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return SetNamed(options_.core.book, "book", name, lower, kBooks);
  }

  std::optional<UsageError> SetVariants(const std::string& name) {
    static constexpr Named<yishu::Variants> kVariants[] = {{"none", yishu::Variants::None},
                                                           {"forms", yishu::Variants::Forms},
                                                           {"all", yishu::Variants::All}};
    return SetNamed(options_.core.variants, "variants", name, name, kVariants);
  }

  std::optional<UsageError> SetScript(const std::string& name) {
    static constexpr Named<yishu::Script> kScripts[] = {{"traditional", yishu::Script::Traditional},
                                                        {"simplified", yishu::Script::Simplified}};
    return SetNamed(options_.core.script, "script", name, name, kScripts);
  }

  std::optional<UsageError> SetEncoding(const std::string& name) {
    auto encoding = EncodingFromName(name);
    if (!encoding) {
      return UsageError{"unknown encoding '" + name +
                        "' (known: utf-8, cp936 or gbk, gb18030, utf-16, utf-16be, utf-16le)"};
    }
    options_.encoding = *encoding;
    return std::nullopt;
  }

  const std::vector<std::string>& args_;
  std::size_t index_ = 0;
  Options options_;
  bool decoding_ = false;  // -d or -w was given
};

}  // namespace

std::variant<Options, UsageError> ParseCommandLine(const std::vector<std::string>& args) {
  return Parser(args).Parse();
}

}  // namespace telecode
