#!/usr/bin/env python3
"""Integration tests of telecode: they run the real binary.

The reference for every result is whole_text, which converts the whole input
in one piece with the core's ConvertText: telecode must give exactly that,
byte for byte, however its input arrives.

    test_telecode.py TELECODE WHOLE_TEXT VERSION [unittest arguments...]
"""
import array
import codecs
import fcntl
import hashlib
import os
import random
import re
import select
import subprocess
import sys
import tempfile
import termios
import threading
import time
import unittest
from pathlib import Path

TELECODE = ""
WHOLE_TEXT = ""
VERSION = ""



def _user_defined_area(error):
    """Python's gbk lacks the code page's user-defined area (AAA1.. and others,
    U+E000..), which the code book uses for a few characters; GB18030 maps it
    the same way with the same two bytes."""
    if isinstance(error, UnicodeEncodeError):
        return error.object[error.start:error.end].encode("gb18030"), error.end
    return error.object[error.start:error.start + 2].decode("gb18030"), error.start + 2


codecs.register_error("user-defined-area", _user_defined_area)
codecs.register(lambda name: codecs.CodecInfo(
    name="cp936_full",
    encode=lambda text, errors="strict": (codecs.encode(text, "gbk", "user-defined-area"),
                                          len(text)),
    decode=lambda data, errors="strict": (codecs.decode(data, "gbk", "user-defined-area"),
                                          len(data))) if name == "cp936_full" else None)

# Python's codec for each of telecode's encodings.
CODECS = {"utf-8": "utf-8", "cp936": "cp936_full", "gb18030": "gb18030", "utf-16": "utf-16"}

# A text that every encoding can carry: codes with and without their space,
# day keys, digit runs of other lengths, characters with and without a code,
# line breaks.
MIXED = ("电报 0022 2429 7193 1032 4316 到了。\r\n"
         "会议定于99010召开, 99311 号 12345 0022 00220022 0001\n"
         "一丁七丈三上下不 abc 9999 0000 \t中文电报码\n")


def run(args, data=b"", **kwargs):
    return subprocess.run([TELECODE, *args], input=data, capture_output=True, timeout=60,
                          **kwargs)


def wait_until(condition, what, seconds=30):
    """Polls `condition` instead of sleeping for a guessed time."""
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            raise AssertionError(f"gave up waiting: {what}")
        time.sleep(0.0002)


def pipe_holds(fd):
    """Bytes written to a pipe and not yet read (either end will do)."""
    count = array.array("i", [0])
    fcntl.ioctl(fd, termios.FIONREAD, count)
    return count[0]


def blocked_on_pipe(process):
    """Whether `process` sleeps waiting for a pipe (in poll() or in the read
    or write itself)."""
    if process.poll() is not None:
        raise AssertionError(f"telecode ended early, status {process.returncode}")
    with open(f"/proc/{process.pid}/wchan") as wchan:
        where = wchan.read()
    return any(word in where for word in ("poll", "select", "pipe"))


def feed_byte_by_byte(process, data):
    """Writes `data` to the process one byte at a time, each only once the
    previous one has been read, so that every read returns a single byte."""
    fd = process.stdin.fileno()
    for i in range(len(data)):
        process.stdin.write(data[i:i + 1])
        process.stdin.flush()
        wait_until(lambda: pipe_holds(fd) == 0 or process.poll() is not None,
                   f"telecode reading byte {i}")


def mode_args(mode):
    return {"encode": [], "decode": ["-d"], "as-written": ["-w"]}[mode]


def reference(mode, encoding, data):
    """ConvertText on the whole input. GB18030 goes by its CP936 bytes; tests
    below check separately that this agrees with real GB18030."""
    if encoding == "utf-16":
        encoding = "utf-16be" if data[:2] == b"\xfe\xff" else "utf-16le"
    elif encoding == "gb18030":
        encoding = "cp936"
    result = subprocess.run([WHOLE_TEXT, mode, encoding], input=data, capture_output=True,
                            check=True, timeout=120)
    return result.stdout


def convert(mode, encoding, data):
    result = run([*mode_args(mode), "-e", encoding], data)
    if result.returncode != 0:
        raise AssertionError(f"telecode failed ({result.returncode}): {result.stderr!r}")
    return result.stdout


CASES = Path(__file__).resolve().parent.parent / "cases" / "conversion.tsv"


def read_cases():
    """(line, direction, input, expected, why) of the conversion cases that
    every face is tested with; the file's head describes the format."""
    escapes = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\"}

    def unescape(field):
        return re.sub(r"\\(.)", lambda m: escapes[m.group(1)], field)

    cases = []
    for number, row in enumerate(CASES.read_text(encoding="utf-8").split("\n"), 1):
        if not row or row.startswith("#"):
            continue
        direction, text, expected, why = row.split("\t")
        assert direction in ("to-codes", "to-chars"), f"{CASES}:{number}: {direction}"
        cases.append((number, direction, unescape(text), unescape(expected), why))
    return cases


def code_book():
    """(code, character) for every line of --list."""
    lines = run(["--list"]).stdout.decode("utf-8").splitlines()
    return [tuple(line.split("\t")) for line in lines]


class TempDirTest(unittest.TestCase):
    def setUp(self):
        self._dir = tempfile.TemporaryDirectory(prefix="telecode-test-")
        self.dir = Path(self._dir.name)

    def tearDown(self):
        self._dir.cleanup()

    def file(self, name, data):
        path = self.dir / name
        path.write_bytes(data)
        return str(path)


class Conversion(TempDirTest):
    def test_shared_cases(self):
        cases = read_cases()
        self.assertGreaterEqual(len(cases), 40, "the cases file lost cases")
        for line, direction, text, expected, why in cases:
            mode = "encode" if direction == "to-codes" else "decode"
            for encoding in CODECS:
                with self.subTest(line=line, why=why, encoding=encoding):
                    codec = CODECS[encoding]
                    self.assertEqual(convert(mode, encoding, text.encode(codec)),
                                     expected.encode(codec))

    def test_same_as_whole_text_in_every_encoding(self):
        raw = {
            "utf-8": MIXED.encode() + b"\xff0022 \xe4\xb8 2429 \xed\xa0\x80",
            "cp936": MIXED.encode("cp936_full") + b"\x80\xff\xd6 0022 \x81",
            "gb18030": MIXED.encode("gb18030") + "𠀀😀".encode("gb18030"),
            "utf-16": MIXED.encode("utf-16"),  # with its byte-order mark
            "utf-16be": b"\xfe\xff" + MIXED.encode("utf-16-be") + b"\xd8\x00",
        }
        for name, data in raw.items():
            encoding = "utf-16" if name.startswith("utf-16") else name
            for mode in ("encode", "decode", "as-written"):
                with self.subTest(encoding=name, mode=mode):
                    self.assertEqual(convert(mode, encoding, data),
                                     reference(mode, encoding, data))

    def test_encodings_agree(self):
        # The same text gives the same result in every encoding.
        for mode in ("encode", "decode"):
            expected = convert(mode, "utf-8", MIXED.encode()).decode()
            for encoding, codec in CODECS.items():
                with self.subTest(mode=mode, encoding=encoding):
                    result = convert(mode, encoding, MIXED.encode(codec))
                    self.assertEqual(result.decode(codec), expected)

    def test_every_character_of_the_code_book_round_trips(self):
        text = "".join(dict.fromkeys(char for _, char in code_book())) + "\n"
        for encoding, codec in CODECS.items():
            with self.subTest(encoding=encoding):
                codes = convert("encode", encoding, text.encode(codec))
                self.assertEqual(convert("decode", encoding, codes).decode(codec), text)

    def test_each_file_is_a_text_of_its_own(self):
        # A code cut between two files stays as it is, as in two runs.
        first = self.file("first.txt", b"0022")
        second = self.file("second.txt", b" 2429 ")
        result = run(["-d", first, "-", second], b"1032 ")
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stdout, "0022报 文".encode())

    def test_utf16_keeps_the_byte_order_of_its_input(self):
        for codec, bom in (("utf-16-le", b"\xff\xfe"), ("utf-16-be", b"\xfe\xff")):
            with self.subTest(codec=codec):
                out = convert("encode", "utf-16", bom + "中文".encode(codec))
                self.assertEqual(out, bom + "0022 2429 ".encode(codec))
        # Without a mark, the text is taken as little-endian and given none.
        self.assertEqual(convert("decode", "utf-16", "0022 ".encode("utf-16-le")),
                         "中".encode("utf-16-le"))


class Splits(TempDirTest):
    SAMPLES = {  # name: encoding, input
        "utf-8": ("utf-8", MIXED.encode() + "𠀀😀".encode() + b"\xe4\xb8\xff"),
        "cp936": ("cp936", MIXED.encode("cp936_full") + b"\x80\xd6"),
        "utf-16": ("utf-16", MIXED.encode("utf-16") + "😀".encode("utf-16-le") + b"\x00\xdc\x41"),
        "utf-16be": ("utf-16", b"\xfe\xff" + MIXED.encode("utf-16-be") + "😀".encode("utf-16-be")
                     + b"\xd8\x00\x00\x41\x30"),
    }

    def test_pipe_fed_one_byte_at_a_time(self):
        for name, (encoding, data) in self.SAMPLES.items():
            for mode in ("encode", "decode", "as-written"):
                with self.subTest(sample=name, mode=mode), open(self.dir / "out", "wb") as out:
                    process = subprocess.Popen(
                        [TELECODE, *mode_args(mode), "-e", encoding], stdin=subprocess.PIPE,
                        stdout=out, stderr=subprocess.DEVNULL)
                    feed_byte_by_byte(process, data)
                    process.stdin.close()
                    self.assertEqual(process.wait(timeout=30), 0)
                    self.assertEqual((self.dir / "out").read_bytes(),
                                     reference(mode, encoding, data))

    def test_every_split_of_a_code_at_a_read_boundary(self):
        # The units are 13 bytes long: reads of any power-of-two size up to
        # 256 KiB end at every offset within a unit somewhere in the file.
        units = {
            ("utf-8", "decode"): "0022 99010中".encode(),
            ("utf-8", "encode"): "中文x电报码".encode()[:13],
            ("cp936", "decode"): "0022 99010中x".encode("cp936_full"),
            ("cp936", "encode"): "中文电报码2429 ".encode("cp936_full")[:13],
            # UTF-16: 13 units, after a mark or none.
            ("utf-16", "decode"): "0022 99010 中x".encode("utf-16-le"),
            ("utf-16be", "decode"): "0022 99010 中x".encode("utf-16-be"),
            ("utf-16be", "encode"): "中文电报码2429 002".encode("utf-16-be"),
            # Full-width digits and ideographic spaces are several bytes long.
            ("utf-8", "as-written"): "０022\u3000x,1\n".encode(),
            ("cp936", "as-written"): "０0２2\u3000x9,1\n".encode("cp936_full"),
            ("utf-16", "as-written"): "0022\u300099010\n1x".encode("utf-16-le"),
        }
        for (name, mode), unit in units.items():
            with self.subTest(encoding=name, mode=mode):
                encoding = "utf-16" if name.startswith("utf-16") else name
                self.assertEqual(len(unit), 26 if encoding == "utf-16" else 13)
                data = b"\xfe\xff" if name == "utf-16be" else b""
                data += unit * (13 * 256 * 1024 // 13 + 1)
                path = self.file("boundaries.txt", data)
                result = run([*mode_args(mode), "-e", encoding, path])
                self.assertEqual(result.returncode, 0)
                self.assertEqual(result.stdout, reference(mode, encoding, data))


class AsWritten(TempDirTest):
    """-w, --as-written: codes as people write them, and the hint that
    points to it when codes were left for want of a space."""
    HINT = "-w, --as-written reads codes as they are written"

    def test_lists_of_codes(self):
        cases = [
            ("7115 1129 2429\n", "陈大文\n"),  # as an identity card prints a name
            ("0022\r\n2429\r\n\r\n0948\r\n", "中\r\n文\r\n\r\n国\r\n"),
            ("5618/1947/0948", "萧/爱/国"), ("0022,2429", "中,文"), ("00222429", "中文"),
            ("０９４８\u3000２４２９", "国文"), ("99010 0022 12345", "一日中12345"),
        ]
        for text, expected in cases:
            for encoding, codec in CODECS.items():
                with self.subTest(text=text, encoding=encoding):
                    self.assertEqual(convert("as-written", encoding, text.encode(codec)),
                                     expected.encode(codec))

    def test_kept_runs_of_digits_are_listed_with_their_byte_offsets(self):
        text = "电话 13812345678, 0022 号 7。0000\n"
        for encoding, codec in CODECS.items():
            with self.subTest(encoding=encoding):
                data = text.encode(codec)
                result = run(["-w", "-e", encoding, self.file("in.txt", data)])
                self.assertEqual(result.returncode, 0)
                self.assertEqual(result.stdout.decode(codec), "电话 13812345678, 中号 7。0000\n")
                listed = re.findall(r"in\.txt: byte (\d+): (\d+) digits?", result.stderr.decode())
                expected = [(str(len(text[:m.start()].encode(codec))), str(len(m.group())))
                            for m in re.finditer(r"\d+", text) if m.group() != "0022"]
                self.assertEqual(listed, expected)

    def test_codes_that_may_be_numbers_are_listed(self):
        text = "電話 2345 6789, HK$1999, 1949年, 0022 號\n"
        for encoding in ("utf-8", "gb18030", "utf-16"):
            with self.subTest(encoding=encoding):
                data = text.encode(CODECS[encoding])
                result = run(["-w", "-b", "taiwan", "-e", encoding, self.file("in.txt", data)])
                self.assertEqual(result.stdout.decode(CODECS[encoding]),
                                 "電話 擊酊, HK$憎, 感年, 中號\n")
                listed = re.findall(r"in\.txt: byte (\d+): 4 digits next to", result.stderr.decode())
                expected = [len(text[:text.index(run)].encode(CODECS[encoding]))
                            for run in ("1999", "1949")]
                self.assertEqual(listed, [str(offset) for offset in expected])
                self.assertIn("in.txt: check that they are codes, not a year, a price or a number\n",
                              result.stderr.decode())

    def test_many_kept_runs_are_counted(self):
        result = run(["-w"], b"1 " * 25)
        lines = result.stderr.decode().splitlines()
        self.assertEqual(len(lines), 21, lines)
        self.assertIn("and 5 more runs of digits", lines[-1])

    def test_hint_when_codes_lacked_their_space(self):
        cases = [("0022 2429\n", 1), ("0022\n2429\n", 2), ("00222429", 2),
                 ("0022,2429 ", 1), ("0022 2429 ", 0), ("12345 0000", 0)]
        for text, count in cases:
            with self.subTest(text=text):
                result = run(["-d"], text.encode())
                # The output is exactly what the typed rule gives.
                self.assertEqual(result.stdout, reference("decode", "utf-8", text.encode()))
                hints = [line for line in result.stderr.decode().splitlines() if self.HINT in line]
                self.assertEqual(len(hints), 1 if count else 0, result.stderr)
                if count:
                    self.assertTrue(hints[0].startswith(f"telecode: {count} code"), hints[0])

    def test_hint_once_for_all_files_and_never_otherwise(self):
        first = self.file("first.txt", b"0022\n")
        second = self.file("second.txt", b"2429\n0948")
        result = run(["-d", first, second])
        self.assertEqual(result.stderr.decode().count(self.HINT), 1)
        self.assertIn("telecode: 3 codes were left", result.stderr.decode())
        for args in (["-w", first, second], [first, second]):
            with self.subTest(args=args[0]):
                self.assertNotIn(self.HINT, run(args).stderr.decode())


class LargeInput(TempDirTest):
    SIZE = 48 * 1024 * 1024

    def test_large_input_in_constant_memory(self):
        # Random tokens of every kind, in one block of a size that shares no
        # factor with any read size, repeated to the full size.
        rng = random.Random(20240101)
        tokens = [t.encode() for t in ("中", "文", "电", "报", "码", "一", "0022 ", "2429 ",
                                        "99010", "1234", " ", "\n", "abc", "𠀀", "😀", "한")]
        tokens.append(b"\xff")
        block_bytes = b"".join(rng.choice(tokens) for _ in range(200_001))
        data = (block_bytes * (self.SIZE // len(block_bytes) + 1))[:self.SIZE]
        path = self.file("large.txt", data)
        for mode in ("encode", "decode"):
            with self.subTest(mode=mode):
                out_path = self.dir / "out"
                # GNU time forks from its own small process, so the peak it
                # reports is telecode's alone (a child spawned from here would
                # count this process's memory too).
                peak_path = self.dir / "peak"
                with open(out_path, "wb") as out:
                    subprocess.run(["/usr/bin/time", "-f", "%M", "-o", str(peak_path), TELECODE,
                                    *mode_args(mode), path], stdout=out, stderr=subprocess.DEVNULL,
                                   check=True, timeout=120)
                peak_mib = int(peak_path.read_text().split()[-1]) / 1024
                self.assertLess(peak_mib, 32, f"peak resident memory {peak_mib:.1f} MiB")
                expected = hashlib.sha256(reference(mode, "utf-8", data)).hexdigest()
                actual = hashlib.sha256(out_path.read_bytes()).hexdigest()
                self.assertEqual(actual, expected)


class Errors(TempDirTest):
    def test_unreadable_files_are_reported_and_skipped(self):
        good = self.file("good.txt", "中".encode())
        missing = str(self.dir / "missing.txt")
        cases = [
            (missing, "No such file or directory"),
            (str(self.dir), "Is a directory"),
            ("/proc/self/mem", "Input/output error"),  # opens, then fails to read
        ]
        for bad, reason in cases:
            with self.subTest(bad=bad):
                result = run([good, bad, good])
                self.assertEqual(result.returncode, 1)
                self.assertEqual(result.stdout, b"0022 0022 ")
                self.assertEqual(result.stderr.decode(), f"telecode: {bad}: {reason}\n")

    def test_input_file_is_output_file(self):
        # Appending its own output to the file it reads would never end.
        path = self.file("self.txt", "中文\n".encode())
        other = self.file("other.txt", "码".encode())
        for args in ([path], [other, "-"]):
            with self.subTest(args=args):
                with open(path, "ab") as out, open(path, "rb") as stdin:
                    result = subprocess.run([TELECODE, *args], stdin=stdin, stdout=out,
                                            stderr=subprocess.PIPE, timeout=30)
                name = "standard input" if "-" in args else path
                self.assertEqual(result.returncode, 1)
                self.assertEqual(result.stderr.decode(),
                                 f"telecode: {name}: input file is output file\n")
        self.assertEqual(Path(path).read_bytes(), "中文\n4316 ".encode())

    def test_closed_standard_output(self):
        # The first file opened takes the closed descriptor; it must not pass
        # for the output, nor be written to.
        path = self.file("in.txt", "中".encode())
        for args, stdin in (([path], None), ([], path), (["--list"], None)):
            with self.subTest(args=args, stdin=stdin):
                with open(stdin or os.devnull, "rb") as source:
                    result = subprocess.run(["sh", "-c", 'exec "$@" >&-', "sh", TELECODE, *args],
                                            stdin=source, capture_output=True, timeout=30)
                self.assertEqual(result.returncode, 1)
                self.assertEqual(result.stderr.decode(),
                                 "telecode: standard output is closed: there is nowhere to write\n")
        self.assertEqual(Path(path).read_bytes(), "中".encode())

    def test_file_without_read_permission(self):
        if os.geteuid() == 0:
            self.skipTest("root reads every file")
        path = self.file("secret.txt", b"0022 ")
        os.chmod(path, 0)
        result = run(["-d", path])
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr.decode(), f"telecode: {path}: Permission denied\n")

    def test_usage_errors(self):
        cases = [
            ["-x"],
            ["--bogus"],
            ["-e"],
            ["-e", "latin-1"],
            ["--encoding=klingon"],
            ["--decode=yes"],
            ["--list", "file.txt"],
        ]
        for args in cases:
            with self.subTest(args=args):
                result = run(args, "0022 ".encode())
                self.assertEqual(result.returncode, 2)
                self.assertEqual(result.stdout, b"")
                self.assertRegex(result.stderr.decode(), r"^telecode: .+\nTry 'telecode --help' for more information.\n$")

    def test_disk_full(self):
        for args in ([], ["--list"]):
            with self.subTest(args=args):
                with open("/dev/full", "wb") as full:
                    result = subprocess.run([TELECODE, *args], input="中文".encode(),
                                            stdout=full, stderr=subprocess.PIPE, timeout=30)
                self.assertEqual(result.returncode, 1)
                self.assertEqual(result.stderr.decode(),
                                 "telecode: write error: No space left on device\n")

    def test_non_blocking_pipes_are_waited_for(self):
        # Descriptors inherited in non-blocking mode answer EAGAIN, no error.
        in_read, in_write = os.pipe()
        out_read, out_write = os.pipe()
        for fd in (in_read, out_write):
            os.set_blocking(fd, False)
        process = subprocess.Popen([TELECODE, "-d"], stdin=in_read, stdout=out_write,
                                   stderr=subprocess.PIPE)
        os.close(in_read)
        os.close(out_write)

        def feed():
            with os.fdopen(in_write, "wb") as pipe:
                pipe.write(b"0022 " * 200_000)

        # telecode finds its input empty first, and waits for it,
        wait_until(lambda: blocked_on_pipe(process), "telecode waiting for its input")
        feeder = threading.Thread(target=feed)
        feeder.start()
        # and then, with input to spare, its output full: it waits for room.
        capacity = fcntl.fcntl(out_read, fcntl.F_GETPIPE_SZ)

        def room():
            return capacity - pipe_holds(out_read)

        wait_until(lambda: pipe_holds(in_write) > 0 and room() < select.PIPE_BUF
                   and blocked_on_pipe(process), "telecode waiting for room in its output")
        with os.fdopen(out_read, "rb") as pipe:
            output = pipe.read()
        feeder.join()
        self.assertEqual(process.wait(timeout=30), 0)
        self.assertEqual(process.stderr.read(), b"")
        self.assertEqual(output, "中".encode() * 200_000)

    def test_closed_output_pipe_ends_quietly(self):
        path = self.file("long.txt", "中文电报码\n".encode() * 400_000)
        process = subprocess.Popen([TELECODE, path, path], stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE)
        self.assertEqual(process.stdout.read(10), b"0022 2429 ")
        process.stdout.close()  # as head does
        self.assertEqual(process.wait(timeout=30), 0)
        self.assertEqual(process.stderr.read(), b"")


class InvalidInput(TempDirTest):
    def test_invalid_utf8_passes_through_and_is_reported_once(self):
        cases = [  # input, offset of the first invalid sequence
            (b"0022 \xff2429 ", 5),
            (b"\xe4\xb8\xad\xe4\xb8", 3),  # cut off by the end
            (b"ab\xc0\xaf", 2),  # overlong
            (b"\xed\xa0\x80\xe4\xb8\xad", 0),  # surrogate
            (b"\xf4\x90\x80\x80", 0),  # above U+10FFFF
            ("中".encode() + b"\x80" + b"\xfe" * 3, 3),  # several: only the first is named
        ]
        for data, offset in cases:
            for mode in ("encode", "decode"):
                with self.subTest(data=data, mode=mode):
                    path = self.file("bad.txt", data)
                    result = run([*mode_args(mode), path])
                    self.assertEqual(result.returncode, 0)
                    self.assertEqual(result.stdout, reference(mode, "utf-8", data))
                    self.assertEqual(
                        result.stderr.decode(),
                        f"telecode: {path}: invalid UTF-8 at byte offset {offset}, "
                        "passed through unchanged (first of possibly more)\n")

    def test_offset_of_a_sequence_cut_by_a_read(self):
        # Sequences that straddle the 256 KiB read boundary, valid ones before
        # an invalid one and invalid ones themselves; pieces of one byte too.
        boundary = 256 * 1024
        for bad in (b"\xf0\x9f\x98A", b"\xe4\xb8\xe4\xb8\xad", b"\xed\xbf\xbf"):
            for shift in range(-4, 2):
                data = b"a" * (boundary + shift) + "😀é".encode() + bad + b"\xff"
                expected = self.first_invalid(data)
                with self.subTest(bad=bad, shift=shift):
                    result = run([self.file("cut.txt", data)])
                    self.assertEqual(result.stdout, reference("encode", "utf-8", data))
                    self.assertIn(f"invalid UTF-8 at byte offset {expected},",
                                  result.stderr.decode())
        data = "é😀".encode() + b"\xf0\x9f\x98A"
        process = subprocess.Popen([TELECODE], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE)
        feed_byte_by_byte(process, data)
        out, err = process.communicate(timeout=30)
        self.assertEqual(out, data)
        self.assertIn("invalid UTF-8 at byte offset 6,", err.decode())

    def test_offsets_agree_with_python_on_random_texts(self):
        # Valid text of every sequence length around one faulty spot, at
        # random places relative to the validator's 16-byte blocks.
        rng = random.Random(8)
        chars = ["a", "\n", "é", "中", "\ud7ff", "\ue000", "\uffff", "😀", "\U0010ffff"]
        faults = [b"\x80", b"\xbf\xbf", b"\xc0\xaf", b"\xc1\xbf", b"\xc3", b"\xe0\x9f\xbf",
                  b"\xe4\xb8", b"\xed\xa0\x80", b"\xf0\x8f\xbf\xbf", b"\xf4\x90\x80\x80",
                  b"\xf5\x80\x80\x80", b"\xff", b"\xf0\x9f\x98"]
        for case in range(150):
            def valid(n):
                return "".join(rng.choice(chars) for _ in range(n)).encode()
            data = valid(rng.randrange(120)) + rng.choice(faults) + valid(rng.randrange(40))
            with self.subTest(case=case, data=data):
                result = run([], data)
                self.assertIn(f"invalid UTF-8 at byte offset {self.first_invalid(data)},",
                              result.stderr.decode())

    @staticmethod
    def first_invalid(data):
        try:
            data.decode("utf-8")
        except UnicodeDecodeError as error:
            return error.start
        raise AssertionError("the data should hold an invalid sequence")

    def test_valid_utf8_gives_no_message(self):
        result = run([], ("中文 𠀀 😀 ünï " + MIXED).encode() + b"\xef\xbb\xbf")
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stderr, b"")

    def test_report_names_the_first_bad_file_only(self):
        good = self.file("good.txt", "中".encode())
        bad = self.file("bad.txt", b"ab\xff")
        worse = self.file("worse.txt", b"\xff")
        result = run([good, bad, worse])
        self.assertEqual(result.stdout, b"0022 ab\xff\xff")
        self.assertEqual(result.stderr.decode().count("\n"), 1)
        self.assertIn(f"{bad}: invalid UTF-8 at byte offset 2", result.stderr.decode())

    def test_invalid_utf16_passes_through(self):
        cases = [  # input, offset of the first unpaired surrogate or odd byte
            (b"\xff\xfe" + "0022 ".encode("utf-16-le") + b"\x00\xd8", 12),
            (b"\xff\xfe\x00\xdc" + "中".encode("utf-16-le"), 2),
            (b"\xff\xfe" + "中".encode("utf-16-le") + b"\x41", 4),
            (b"\xfe\xff\xd8\x00\x00\x41", 2),
        ]
        for data, offset in cases:
            for mode in ("encode", "decode"):
                with self.subTest(data=data, mode=mode):
                    result = run([*mode_args(mode), "-e", "utf-16"], data)
                    self.assertEqual(result.stdout, reference(mode, "utf-16", data))
                    self.assertIn(f"invalid UTF-16 at byte offset {offset},",
                                  result.stderr.decode())


    def test_utf16_offsets_across_a_read_boundary(self):
        # Unpaired surrogates, and pairs, on both sides of the 256 KiB read
        # boundary, in both byte orders; offsets as Python's decoder has them.
        faults = ["\ud800", "\udc00", "\ud800\ud800", "😀\udc00", "\ud800😀"]
        for codec, bom in (("utf-16-le", b"\xff\xfe"), ("utf-16-be", b"\xfe\xff")):
            for fault in faults:
                for shift in range(-3, 2):
                    filler = "中" * (256 * 1024 // 2 - 1 + shift) + "😀"
                    text = filler + fault + "文"
                    data = bom + text.encode(codec, "surrogatepass")
                    with self.subTest(codec=codec, fault=fault, shift=shift):
                        result = run(["-d", "-e", "utf-16", self.file("cut.txt", data)])
                        self.assertEqual(result.stdout, data)
                        self.assertIn(f"invalid UTF-16 at byte offset {self.first_invalid16(data)},",
                                      result.stderr.decode())

    @staticmethod
    def first_invalid16(data):
        try:
            data.decode("utf-16")
        except UnicodeDecodeError as error:
            return error.start
        raise AssertionError("the data should hold an invalid sequence")


class OutsideCp936(TempDirTest):
    TEXT = "𠀀中😀文한\n𠀀0022 😀2429 "

    def test_characters_outside_cp936_pass_through(self):
        for encoding in ("utf-8", "utf-16", "gb18030"):
            codec = CODECS[encoding]
            with self.subTest(encoding=encoding):
                encoded = convert("encode", encoding, self.TEXT.encode(codec)).decode(codec)
                self.assertEqual(encoded, "𠀀0022 😀2429 한\n𠀀0022 😀2429 ")
                decoded = convert("decode", encoding, self.TEXT.encode(codec)).decode(codec)
                self.assertEqual(decoded, "𠀀中😀文한\n𠀀中😀文")

    def test_gb18030_four_byte_characters_of_the_taiwan_book(self):
        rows = [line.split("\t") for line in
                run(["--list", "-b", "taiwan"]).stdout.decode().splitlines()]
        outside = [(code, char) for code, char in rows if len(char.encode("gb18030")) == 4]
        self.assertEqual(len(outside), 44)
        text = "".join(char for _, char in outside) + "𠀀\n"
        codes = "".join(f"{code} " for code, _ in outside) + "𠀀\n"
        # One read ends inside a four-byte character.
        filler = "a" * (256 * 1024 - 2)
        data = (filler + text).encode("gb18030")
        result = run(["-b", "taiwan", "-e", "gb18030", self.file("in.txt", data)])
        self.assertEqual(result.stdout.decode("gb18030"), filler + codes)
        self.assertEqual(result.stderr.decode(), "telecode: left as they are: 1 in no book (𠀀)\n")
        listed = run(["--list", "-b", "taiwan", "-e", "gb18030"])
        self.assertEqual(listed.stdout.decode("gb18030").splitlines(),
                         [f"{code}\t{char}" for code, char in rows])
        self.assertEqual(listed.stderr, b"")

    def test_gb18030_four_byte_characters_take_the_routes_of_utf8(self):
        # 㐅, four bytes in GB18030, has a code only through its variant 五.
        for args, out in ((["-b", "taiwan"], "0063 𠀀0022 "), (["--variants=all"], "0063 𠀀0022 "),
                          (["-b", "taiwan", "--variants=none"], "㐅𠀀0022 ")):
            with self.subTest(args=args):
                gb = run([*args, "-e", "gb18030"], "㐅𠀀中".encode("gb18030"))
                self.assertEqual(gb.stdout.decode("gb18030"), out)
                self.assertEqual(gb.stderr, run(args, "㐅𠀀中".encode()).stderr)

    def test_gb18030_writes_the_characters_cp936_lacks(self):
        # As in UTF-8: codes written together with them, their spaces, notes
        # and doubtful runs (offsets in bytes of the input, the same in both
        # texts here), the doubtful rule seeing the text, not what is written.
        cases = [
            (["-d", "-b", "taiwan"], "8249 02745509 8249", "㘾0274葉8249", ""),
            (["-w", "-b", "taiwan"], "8249,02745509 ８２４９　x", "㘾,𠉰葉㘾x", ""),
            (["-w", "-b", "taiwan"], "82491628 0022, 82490022 HK$1628 8249a", "㘾年中, 㘾中HK$年㘾a",
             "byte 27: 4 digits next to a letter, a currency sign or 年月日號号 converted as a code\n"
             "telecode: standard input: byte 32: 4 digits"),
            (["-d", "-b", "taiwan", "--standard-forms"], "2274 8797 ", "搉瘩",
             "2 codes written in the standard form of the book's old form (2274 8797)"),
            (["-d", "-b", "eccc"], "1474 0591 1087 ", "𡵆㐅𡒄", "2 codes written in the book's old form"),
        ]
        for args, text, out, err in cases:
            with self.subTest(args=args, text=text):
                gb = run([*args, "-e", "gb18030"], text.encode("gb18030"))
                self.assertEqual(gb.stdout.decode("gb18030"), out)
                self.assertEqual(gb.stderr, run(args, text.encode()).stderr)
                self.assertIn(err, gb.stderr.decode())

    def test_gb18030_round_trip_of_the_taiwan_book(self):
        rows = [line.split("\t") for line in
                run(["--list", "-b", "taiwan"]).stdout.decode().splitlines()]
        # One read ends inside a code.
        filler = "a" * (256 * 1024 - 2)
        codes = filler + "".join(f"{code} " for code, _ in rows)
        decoded = run(["-d", "-b", "taiwan", "-e", "gb18030", self.file("codes.txt", codes.encode())])
        self.assertEqual(decoded.stdout.decode("gb18030"), filler + "".join(c for _, c in rows))
        self.assertNotIn("cannot hold", decoded.stderr.decode())
        # Back to codes as from UTF-8 (a character of several codes takes the
        # lowest).
        again = run(["-b", "taiwan", "-e", "gb18030", self.file("chars.txt", decoded.stdout)])
        utf8 = run(["-b", "taiwan"], decoded.stdout.decode("gb18030").encode())
        self.assertEqual(again.stdout.decode("gb18030"), utf8.stdout.decode())
        self.assertEqual(sum(a != b for a, b in zip(again.stdout.decode().split(), codes.split())), 2)

    def test_digits_inside_gb18030_sequences_start_no_code(self):
        # 𠀀 is 95 32 82 36 in GB18030: its last byte is the digit 6.
        data = "𠀀".encode("gb18030") + b"022 " + "𠀀0022 ".encode("gb18030")
        self.assertEqual(data[3:4], b"6")
        self.assertEqual(convert("decode", "gb18030", data).decode("gb18030"), "𠀀022 𠀀中")


class CommandLine(TempDirTest):
    def test_help_and_version(self):
        for args in (["-h"], ["--help"], ["-d", "--help", "no-such-file"]):
            with self.subTest(args=args):
                result = run(args)
                self.assertEqual(result.returncode, 0)
                self.assertTrue(result.stdout.decode().startswith("Usage: telecode "))
                self.assertIn("Examples:", result.stdout.decode())
        for args in (["-V"], ["--version"]):
            with self.subTest(args=args):
                self.assertEqual(run(args).stdout.decode(), f"telecode {VERSION}\n")

    def test_list_is_the_code_book_in_code_order(self):
        rows = code_book()
        self.assertGreater(len(rows), 7000)
        codes = [code for code, _ in rows]
        self.assertTrue(all(len(code) == 4 and code.isdigit() for code in codes))
        self.assertEqual(codes, sorted(set(codes)))
        self.assertTrue(all(len(char) == 1 for _, char in rows))
        self.assertIn(("0022", "中"), rows)
        self.assertIn(("2429", "文"), rows)
        # Every listed code converts to its character.
        text = "".join(f"{code} " for code in codes)
        self.assertEqual(convert("decode", "utf-8", text.encode()).decode(),
                         "".join(char for _, char in rows))

    def test_list_in_every_encoding(self):
        expected = run(["--list"]).stdout.decode()
        self.assertTrue(expected.endswith("\n"))
        for encoding, codec in CODECS.items():
            with self.subTest(encoding=encoding):
                listed = run(["--list", "-e", encoding]).stdout
                self.assertEqual(listed.decode(codec), expected)
        self.assertTrue(run(["--list", "-e", "utf-16"]).stdout.startswith(b"\xff\xfe"))

    def test_help_reads_right_in_the_manual_page(self):
        # help2man takes an indented line that starts with a dash for an
        # option, wherever it stands: outside "Options:" none may.
        sections = re.split(r"\n(?=\S[^\n]*:\n)", run(["--help"]).stdout.decode())
        for section in sections:
            if not section.startswith("Options:"):
                self.assertNotRegex(section, r"\n +-", section.splitlines()[0])

    def test_utf16_byte_orders(self):
        be, le = "0022 ab".encode("utf-16-be"), "0022 ab".encode("utf-16-le")
        warning = ("telecode: {}: UTF-16 without a byte-order mark is read as little-endian, "
                   "but this text looks big-endian; if it is, use -e utf-16be\n")
        cases = [  # encoding, input, output, warned
            ("utf-16be", be, "中ab".encode("utf-16-be"), False),
            ("UTF16BE", b"\xfe\xff" + be, "\ufeff中ab".encode("utf-16-be"), False),
            ("utf-16le", le, "中ab".encode("utf-16-le"), False),
            ("utf-16", le, "中ab".encode("utf-16-le"), False),
            ("utf-16", b"\xfe\xff" + be, b"\xfe\xff" + "中ab".encode("utf-16-be"), False),
            ("utf-16", be, be, True),  # read little-endian, as before, but with a word
            ("utf-16", "中文电报".encode("utf-16-be"), "中文电报".encode("utf-16-be"), True),
            ("utf-16", "中文电报".encode("utf-16-le"), "中文电报".encode("utf-16-le"), False),
        ]
        for encoding, data, out, warned in cases:
            with self.subTest(encoding=encoding, data=data):
                path = self.file("in.txt", data)
                result = run(["-d", "-e", encoding, path])
                self.assertEqual(result.stdout, out)
                self.assertEqual(result.stderr.decode(), warning.format(path) if warned else "")
        listed = run(["--list", "-e", "utf-16be"]).stdout
        self.assertEqual(listed.decode("utf-16-be"), run(["--list"]).stdout.decode())

    def test_option_spellings(self):
        path = self.file("codes.txt", "0022 ".encode("cp936_full"))
        self.file("-d", b"0022 ")
        cases = [  # arguments, expected output
            (["-d", "-e", "gbk", path], "中".encode("cp936_full")),
            (["--decode", "--encoding", "CP936", path], "中".encode("cp936_full")),
            (["--encoding=GBK", "-d", path], "中".encode("cp936_full")),
            (["-degbk", path], "中".encode("cp936_full")),
            (["-de", "utf8", path], "中".encode()),
            ([path, "-d"], "中".encode()),  # options after the file names
            (["-d", "--", "-d"], "中".encode()),  # after --, -d is a file name
        ]
        for args, expected in cases:
            with self.subTest(args=args):
                result = run(args, cwd=self.dir)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertEqual(result.stdout, expected)


class Books(TempDirTest):
    def test_what_users_type(self):
        cases = [  # arguments, input, standard output, standard error
            (["--book", "taiwan"], "陳大文\n", "7115 1129 2429 \n", ""),
            (["-d", "--book", "taiwan"], "5509 7115 ", "葉陳", ""),
            (["-b", "TAIWAN", "-d"], "99010 ", "99010 ", ""),  # no day codes there
            ([], "陳大文\n", "陳1129 2429 \n", ""),  # the mainland book lacks 陳
            (["--variants"], "陳葉大\n", "7115 0673 1129 \n",
             "telecode: 2 characters converted through a variant (陳 through 陈, 葉 through 叶)\n"),
            (["--variants"], "鍾𠉰𠀀\n", "鍾𠉰𠀀\n",
             "telecode: left as they are: 1 whose variants have several codes (鍾), "
             "1 only in the Taiwan book (𠉰), 1 in no book (𠀀)\n"),
            (["-bt" "aiwan", "--variants"], "陈\n", "7115 \n",
             "telecode: 1 character converted through a variant (陈 through 陳)\n"),
            # Hong Kong and Taiwan names: the book's old forms are reached, and said so.
            (["-b", "taiwan"], "衛志強 黃為民\n", "5898 1807 1730  7806 3634 3046 \n",
             "telecode: 2 characters converted through a variant (衛 through 衞, 為 through 爲)\n"),
            (["-b", "taiwan", "--variants=none"], "衛\n", "衛\n", ""),
            (["-b", "eccc"], "冼陳啟峰\n", "0405 7115 0796 1496 \n",
             "telecode: 1 character converted through a variant (啟 through 啓)\n"),
            (["-d", "-b", "taiwan"], "7115 0796 1496 ", "陳啓峯",
             "telecode: 2 codes written in the book's old form, outside Big5 (0796 1496); "
             "--standard-forms writes the standard form\n"),
            (["-d", "-b", "taiwan", "--standard-forms"], "0796 1496 ", "啟峰",
             "telecode: 2 codes written in the standard form of the book's old form (0796 1496)\n"),
            (["-d", "-b", "eccc", "--script=simplified"], "3634 5898 5831 ", "为卫螿",
             "telecode: 1 code written in the traditional form: the book has no simplified "
             "form (5831)\n"),
            (["-d", "-b", "taiwan"], "0274 8249 ", "𠉰㘾", ""),
        ]
        for args, text, out, err in cases:
            with self.subTest(args=args, text=text):
                result = run(args, text.encode())
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertEqual(result.stdout.decode(), out)
                self.assertEqual(result.stderr.decode(), err)

    def test_characters_the_encoding_cannot_hold_stay_as_codes(self):
        result = run(["-d", "-b", "taiwan", "-e", "cp936"], b"8249 5509 0274 8249 ")
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stdout, b"8249 " + "葉".encode("gbk") + b"0274 8249 ")
        self.assertRegex(result.stderr.decode(),
                         r"^telecode: 3 codes left as digits: cp936 cannot hold their "
                         r"characters \(8249 0274\)\n$")
        for encoding, codec in (("utf-8", "utf-8"), ("utf-16", "utf-16"), ("gb18030", "gb18030")):
            with self.subTest(encoding=encoding):
                result = run(["-d", "-b", "taiwan", "-e", encoding], "8249 0274 ".encode(codec))
                self.assertEqual(result.stdout.decode(codec), "㘾𠉰")
                self.assertEqual(result.stderr, b"")

    def test_lookup(self):
        result = run(["--lookup", "陳葉 5509", "𠉰a"])
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.decode().splitlines(), [
            "陳\t7115\t陈[unihan-simplified]\t7115\t-\t7115\t-",
            "葉\t0673\t叶[unihan-simplified]\t5509\t-\t5509\t-",
            "5509\tnone\t-\t葉\t-\t葉\t-",
            "𠉰\tnone\t-\t0274\t-\tnone\t-",
            "a\tnone\t-\tnone\t-\tnone\t-",
        ])
        several = run(["--lookup", "鍾塵衛"]).stdout.decode().splitlines()
        self.assertEqual([line.split("\t") for line in several], [
            ["鍾", "6945 6988", "锺[unihan-simplified] 钟[unihan-simplified]", "6945", "-",
             "6945", "-"],
            ["塵", "1057", "尘[unihan-simplified]", "1057 7775", "-", "1057", "-"],
            ["衛", "5898", "卫[unihan-simplified]", "5898", "衞[unihan-semantic,opencc-hk]",
             "5898", "-"],
        ])

    def test_list_of_the_taiwan_book(self):
        rows = [line.split("\t") for line in run(["--list", "-b", "taiwan"]).stdout.decode().splitlines()]
        self.assertEqual(len(rows), 9026)
        self.assertIn(["5509", "葉"], rows)
        self.assertIn(["0274", "𠉰"], rows)
        decoded = run(["-d", "-b", "taiwan"], "".join(f"{code} " for code, _ in rows).encode())
        self.assertEqual(decoded.stdout.decode(), "".join(char for _, char in rows))
        cp936 = run(["--list", "-b", "taiwan", "-e", "cp936"])
        self.assertEqual(len(cp936.stdout.splitlines()), 9026 - 44)
        self.assertEqual(cp936.stderr.decode(),
                         "telecode: 44 codes left out: cp936 cannot hold their characters\n")

    def test_usage_errors(self):
        for args in (["-b", "hongkong"], ["--book"], ["-b"], ["--lookup"], ["--lookup", "123"],
                     ["--list", "--lookup", "中"], ["--variants=yes"], ["-d", "--variants"],
                     ["--variants", "-w"], ["--list", "-d"], ["-w", "--list"],
                     ["--lookup", "中", "-e", "gbk"], ["--script=cursive"],
                     ["-b", "eccc", "--standard-forms"]):
            with self.subTest(args=args):
                result = run(args, b"")
                self.assertEqual(result.returncode, 2)
                self.assertEqual(result.stdout, b"")
                self.assertRegex(result.stderr.decode(),
                                 r"^telecode: .+\nTry 'telecode --help' for more information.\n$")


if __name__ == "__main__":
    TELECODE, WHOLE_TEXT = (os.path.abspath(path) for path in sys.argv[1:3])
    VERSION = sys.argv[3]
    unittest.main(argv=[sys.argv[0], *sys.argv[4:]])
