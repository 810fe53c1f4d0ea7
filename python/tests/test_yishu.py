"""The Python module over the shared cases, streaming, look-up and the report."""
import io
from pathlib import Path

import pytest

import yishu

CASES = Path(__file__).resolve().parents[2] / "tests" / "cases" / "conversion.tsv"
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\"}


def unescape(field):
    out, chars = [], iter(field)
    for c in chars:
        out.append(ESCAPES[next(chars)] if c == "\\" else c)
    return "".join(out)


def read_cases():
    rows = []
    for number, line in enumerate(CASES.read_text(encoding="utf-8").split("\n"), 1):
        if line and not line.startswith("#"):
            direction, given, expected, why = line.split("\t")
            rows.append(pytest.param(direction, unescape(given), unescape(expected),
                                     id=f"line{number}"))
    assert len(rows) > 40
    return rows


@pytest.mark.parametrize("direction,given,expected", read_cases())
def test_shared_case(direction, given, expected):
    convert = yishu.encode if direction == "to-codes" else yishu.decode
    assert convert(given) == expected
    assert convert(given.encode()) == expected.encode()
    converter = yishu.Converter("to_codes" if direction == "to-codes" else "to_chars")
    assert "".join(converter.feed(c) for c in given) + converter.finish() == expected


def test_a_name_both_ways():
    assert yishu.encode("陳大文", book="taiwan") == "7115 1129 2429 "
    assert yishu.decode("7115 1129 2429", book="taiwan", reading="as_written") == "陳大文"
    assert yishu.encode("陈大文".encode("gbk"), encoding="cp936") == b"7115 1129 2429 "
    assert yishu.decode("7115 1129 2429 ", book="eccc", script="simplified") == "陈大文"


def test_nothing_is_altered():
    text = "\udcff\ud800 中 \U0001F600"  # lone surrogates, an emoji
    assert yishu.encode(text) == "\udcff\ud800 0022  \U0001F600"
    assert yishu.decode(b"\xff\xfe0022 ") == b"\xff\xfe\xe4\xb8\xad"


def test_file_objects_in_small_chunks():
    text = "0022 2429 \n" * 5000 + "0022"
    target = io.StringIO()
    report = yishu.Converter("to_chars").convert_file(io.StringIO(text), target, chunk_size=7)
    assert target.getvalue() == "中文\n" * 5000 + "0022"
    assert report.codes_without_space == 1
    binary = io.BytesIO()
    yishu.Converter("to_codes", encoding="cp936").convert_file(io.BytesIO("中文".encode("gbk")),
                                                              binary, chunk_size=1)
    assert binary.getvalue() == b"0022 2429 "


def test_report():
    result = yishu.convert("1129-12345 0022", "to_chars", reading="as_written")
    assert result.text == "大-12345 中"
    assert result.report.kept == (yishu.DigitRun(offset=5, units=5, digits=5),)
    assert result.report
    assert yishu.convert("HK$1999", "to_chars", reading="as_written").report.doubtful_runs == 1
    through = yishu.convert("衛", "to_codes", book="taiwan").report
    assert through.through_chars == (yishu.VariantUse("衛", "衞", 5898, 68),)
    assert yishu.convert("衛", "to_codes", book="taiwan", variants="none").text == "衛"
    old = yishu.convert("5898 ", "to_chars", book="taiwan", standard_forms=True)
    assert (old.text, old.report.old_forms, old.report.old_form_codes) == ("衛", 1, (5898,))
    assert not yishu.convert("中", "to_codes").report


def test_lookup():
    found = yishu.lookup("衛")
    assert found.mainland == (yishu.Found("5898", "卫", 1, True),)
    assert found.eccc == (yishu.Found("5898", None, 0, True),)
    assert yishu.character("5898") == "卫" and yishu.character(22) == "中"
    assert yishu.character("0000") is None


@pytest.mark.parametrize("call", [
    lambda: yishu.encode("中", book="nowhere"),
    lambda: yishu.decode("0022 ", reading="sideways"),
    lambda: yishu.encode("中", variants=True),
    lambda: yishu.character("22"),
    lambda: yishu.lookup("中文"),
])
def test_bad_arguments_name_the_choice(call):
    with pytest.raises(ValueError):
        call()


def test_pieces_of_the_converters_kind():
    with pytest.raises(TypeError):
        yishu.Converter("to_codes").feed(b"x")
    with pytest.raises(TypeError):
        yishu.Converter("to_codes", encoding="utf-8").feed("x")


def test_the_stubs_name_what_the_module_has():
    import ast
    from yishu import _yishu
    stubs = ast.parse((Path(yishu.__file__).parent / "_yishu.pyi").read_text())
    declared = {node.name for node in stubs.body if isinstance(node, (ast.FunctionDef, ast.ClassDef))}
    assert declared == {name for name in dir(_yishu) if not name.startswith("_")}


def test_threads_feeding_one_converter():
    from concurrent.futures import ThreadPoolExecutor
    # Each piece ends in the first digits of a code that the next one ends;
    # long enough to be converted without the GIL.
    piece = "2 " + "0022 " * 20000 + "002"
    converter = yishu.Converter("to_chars")
    with ThreadPoolExecutor(4) as pool:
        outputs = list(pool.map(converter.feed, [piece] * 32))
    assert sorted(outputs) == sorted(["2 " + "中" * 20000] + ["中" * 20001] * 31)
    assert converter.finish() == "002"
