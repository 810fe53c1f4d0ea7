// The npm package's window on the core: conversion, streaming and look-up,
// exported with embind. Texts cross as UTF-16, JavaScript's own string form,
// through two buffers in the module's memory that index.mjs fills and reads
// itself: embind's own strings pass long texts through TextDecoder, which
// turns lone surrogates into U+FFFD, and copy each unit in a slower loop.
// index.mjs names the options; everything here is a call of yishu.h.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <string>
#include <vector>

#include "yishu/internal/bindings.h"
#include "yishu/internal/unicode.h"
#include "yishu/version.h"
#include "yishu/yishu.h"

namespace {

using emscripten::val;

yishu::Direction DirectionOf(bool to_codes) {
  return to_codes ? yishu::Direction::CharToCode : yishu::Direction::CodeToChar;
}

std::u16string Utf16(const std::u32string& chars) {
  std::u16string s;
  for (char32_t c : chars) {
    char16_t units[2];
    s.append(units, yishu::detail::EncodeUtf16(c, units));
  }
  return s;
}

// The Report as a plain object with the package's names; counts are
// numbers (exact up to 2^53).
val Codes(const std::vector<std::uint16_t>& codes) {
  val array = val::array();
  for (std::uint16_t code : codes) array.call<void>("push", code);
  return array;
}

val ToJs(std::uint64_t count) { return val(static_cast<double>(count)); }
val ToJs(const std::u32string& chars) { return val(Utf16(chars)); }
val ToJs(const std::vector<std::uint16_t>& codes) { return Codes(codes); }
val ToJs(const std::vector<yishu::VariantUse>& uses) {
  val array = val::array();
  for (const yishu::VariantUse& use : uses) {
    val u = val::object();
    u.set("character", Utf16(std::u32string(1, use.character)));
    u.set("variant", Utf16(std::u32string(1, use.variant)));
    u.set("code", use.code);
    u.set("sources", use.sources);
    array.call<void>("push", u);
  }
  return array;
}
val ToJs(const std::vector<yishu::DigitRun>& runs) {
  val array = val::array();
  for (const yishu::DigitRun& run : runs) {
    val k = val::object();
    k.set("offset", static_cast<double>(run.offset));
    k.set("units", static_cast<double>(run.units));
    k.set("digits", static_cast<double>(run.digits));
    array.call<void>("push", k);
  }
  return array;
}

// The Report as a plain object of the package's names.
val ReportObject(const yishu::Report& r) {
  val o = val::object();
  yishu::detail::WalkReport(
      r, true, [&](const std::string& name, const auto& value) { o.set(name, ToJs(value)); });
  return o;
}

// The text of the next call, and the result of the last one.
std::u16string input, output;
yishu::Report report;

// Room for the next text of `units` units; index.mjs writes it there.
std::uintptr_t InputArea(std::size_t units) {
  input.resize(units);
  return reinterpret_cast<std::uintptr_t>(input.data());
}

std::uintptr_t OutputData() { return reinterpret_cast<std::uintptr_t>(output.data()); }

// Gives the memory of a long text back once index.mjs has read its result.
void Release() {
  constexpr std::size_t kKept = 1 << 16;
  if (input.capacity() > kKept) std::u16string().swap(input);
  if (output.capacity() > kKept) std::u16string().swap(output);
}

// Converts the input; returns the output's length.
std::size_t Convert(bool to_codes, const yishu::Options& options, bool with_report) {
  output =
      yishu::ConvertText(DirectionOf(to_codes), input, options, with_report ? &report : nullptr);
  return output.size();
}

val LastReport() { return ReportObject(report); }

class Converter {
 public:
  Converter(bool to_codes, const yishu::Options& options)
      : converter_(DirectionOf(to_codes), options) {}
  std::size_t Feed() {
    output.clear();
    converter_.Feed(input, output);
    return output.size();
  }
  std::size_t Finish() {
    output.clear();
    converter_.Finish(output);
    return output.size();
  }
  val Report() const { return ReportObject(converter_.report()); }

 private:
  yishu::Converter<char16_t> converter_;
};

// [[code, via, sources, produced], ...]: via 0 for the character's own code.
val CodesOf(int book, int character, int variants) {
  val codes = val::array();
  for (const yishu::CodeFound& f :
       yishu::CodesOf(static_cast<yishu::Book>(book), static_cast<char32_t>(character),
                      static_cast<yishu::Variants>(variants))) {
    val entry = val::array();
    entry.call<void>("push", static_cast<int>(f.code));
    entry.call<void>("push", static_cast<int>(f.via));
    entry.call<void>("push", static_cast<int>(f.sources));
    entry.call<void>("push", f.produced);
    codes.call<void>("push", entry);
  }
  return codes;
}

int CharacterOf(int book, int code, int script) {
  return static_cast<int>(
      yishu::CharacterOf(static_cast<yishu::Book>(book), code, static_cast<yishu::Script>(script)));
}

}  // namespace

EMSCRIPTEN_BINDINGS(yishu_npm) {
  // The enums by their numbers in yishu.h, which index.mjs's tables use.
  emscripten::class_<yishu::Options>("Options").constructor(&yishu::detail::OptionsOf);
  emscripten::function("inputArea", &InputArea);
  emscripten::function("outputData", &OutputData);
  emscripten::function("release", &Release);
  emscripten::function("convert", &Convert);
  emscripten::function("lastReport", &LastReport);
  emscripten::class_<Converter>("Converter")
      .constructor<bool, const yishu::Options&>()
      .function("feed", &Converter::Feed)
      .function("finish", &Converter::Finish)
      .function("report", &Converter::Report);
  emscripten::function("codesOf", &CodesOf);
  emscripten::function("characterOf", &CharacterOf);
  emscripten::function(
      "version", +[] { return std::string(YISHU_VERSION_STRING); });
}
