// yishu._yishu: the core for Python, over bytes. The package's Python code
// (yishu/__init__.py) turns str into UTF-8 and back and names the options;
// everything here is a call of yishu.h. Conversions of more than a few
// kilobytes release the GIL.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "yishu/internal/bindings.h"
#include "yishu/yishu.h"

namespace py = pybind11;

namespace {

constexpr std::size_t kShortText = 4096;  // bytes

yishu::Direction DirectionOf(bool to_codes) {
  return to_codes ? yishu::Direction::CharToCode : yishu::Direction::CodeToChar;
}

yishu::Encoding EncodingOf(bool cp936) {
  return cp936 ? yishu::Encoding::Cp936 : yishu::Encoding::Utf8;
}

py::str Utf32(const std::u32string& chars) {
  return py::reinterpret_steal<py::str>(PyUnicode_FromKindAndData(
      PyUnicode_4BYTE_KIND, chars.data(), static_cast<Py_ssize_t>(chars.size())));
}

py::tuple Codes(const std::vector<std::uint16_t>& codes) { return py::tuple(py::cast(codes)); }

// Each field of the report as Python holds it.
py::object ToPython(std::uint64_t count) { return py::int_(count); }
py::object ToPython(const std::u32string& chars) { return Utf32(chars); }
py::object ToPython(const std::vector<std::uint16_t>& codes) { return Codes(codes); }
py::object ToPython(const std::vector<yishu::VariantUse>& uses) {
  py::list list;
  for (const yishu::VariantUse& use : uses) {
    list.append(py::make_tuple(static_cast<int>(use.character), static_cast<int>(use.variant),
                               use.code, use.sources));
  }
  return py::tuple(list);
}
py::object ToPython(const std::vector<yishu::DigitRun>& runs) {
  py::list list;
  for (const yishu::DigitRun& run : runs)
    list.append(py::make_tuple(run.offset, run.units, run.digits));
  return py::tuple(list);
}

// The report as a dict of the Report's own names; yishu.Report takes it.
py::dict ReportDict(const yishu::Report& r) {
  py::dict d;
  yishu::detail::WalkReport(r, false, [&](const std::string& name, const auto& value) {
    d[name.c_str()] = ToPython(value);
  });
  return d;
}

py::bytes Bytes(const std::string& s) { return py::bytes(s.data(), s.size()); }

// The converted text, with the report's dict when `with_report`.
py::object Convert(bool to_codes, const py::bytes& text, bool cp936, const yishu::Options& options,
                   bool with_report) {
  const std::string_view in = text;
  yishu::Report report;
  std::string out;
  {
    // Other threads run meanwhile, unless the text is too short to be worth it.
    std::optional<py::gil_scoped_release> unlocked;
    if (in.size() > kShortText) unlocked.emplace();
    out = yishu::ConvertText(DirectionOf(to_codes), in, EncodingOf(cp936), options,
                             with_report ? &report : nullptr);
  }
  if (!with_report) return Bytes(out);
  return py::make_tuple(Bytes(out), ReportDict(report));
}

class Converter {
 public:
  Converter(bool to_codes, bool cp936, const yishu::Options& options)
      : converter_(DirectionOf(to_codes), EncodingOf(cp936), options) {}

  py::bytes Feed(const py::bytes& piece) {
    const std::string_view in = piece;
    std::string out;
    {
      // Without the GIL, two threads could feed one converter at once: the
      // lock keeps them apart. It is taken after the GIL is let go, so that
      // no thread waits for it while holding the GIL another one needs.
      std::optional<py::gil_scoped_release> unlocked;
      if (in.size() > kShortText) unlocked.emplace();
      const std::lock_guard lock(mutex_);
      converter_.Feed(in, out);
    }
    return Bytes(out);
  }

  py::bytes Finish() {
    std::string out;
    {
      const std::lock_guard lock(mutex_);
      converter_.Finish(out);
    }
    return Bytes(out);
  }

  py::dict Report() const {
    yishu::Report report;
    {
      const std::lock_guard lock(mutex_);
      report = converter_.report();
    }
    return ReportDict(report);
  }

 private:
  mutable std::mutex mutex_;
  yishu::Converter<char> converter_;
};

// [(code, via, sources, produced)]: via 0 for the character's own code.
std::vector<std::tuple<int, int, int, bool>> CodesOf(int book, int character, int variants) {
  std::vector<std::tuple<int, int, int, bool>> codes;
  for (const yishu::CodeFound& f :
       yishu::CodesOf(static_cast<yishu::Book>(book), static_cast<char32_t>(character),
                      static_cast<yishu::Variants>(variants))) {
    codes.emplace_back(f.code, static_cast<int>(f.via), f.sources, f.produced);
  }
  return codes;
}

int CharacterOf(int book, int code, int script) {
  return static_cast<int>(
      yishu::CharacterOf(static_cast<yishu::Book>(book), code, static_cast<yishu::Script>(script)));
}

}  // namespace

PYBIND11_MODULE(_yishu, m) {
  m.doc() = "The yishu core over bytes; use the yishu package instead.";
  // The enums by their numbers in yishu.h, which the package's tables use.
  py::class_<yishu::Options>(m, "Options")
      .def(py::init(&yishu::detail::OptionsOf), py::arg("book"), py::arg("variants"),
           py::arg("as_written"), py::arg("script"), py::arg("standard_forms"));
  m.def("convert", &Convert, py::arg("to_codes"), py::arg("text"), py::arg("cp936"),
        py::arg("options"), py::arg("with_report"));
  py::class_<Converter>(m, "Converter")
      .def(py::init<bool, bool, const yishu::Options&>(), py::arg("to_codes"), py::arg("cp936"),
           py::arg("options"))
      .def("feed", &Converter::Feed)
      .def("finish", &Converter::Finish)
      .def("report", &Converter::Report);
  m.def("codes_of", &CodesOf, py::arg("book"), py::arg("character"), py::arg("variants"));
  m.def("character_of", &CharacterOf, py::arg("book"), py::arg("code"), py::arg("script"));
}
