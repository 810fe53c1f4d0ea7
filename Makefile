# yishu: `make run` opens the converter, `make test` runs every test.
# Both install what is missing first (tools/install-deps.sh, apt-get).

JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
NATIVE  := build/native
WINDOWS := build/windows

.PHONY: all deps native windows test test-native test-windows run bench fuzz dist clean

all: native windows

deps:
	@tools/install-deps.sh

native: deps
	cmake -S . -B $(NATIVE) -DYISHU_BENCHMARKS=ON >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

windows: deps
	cmake -S . -B $(WINDOWS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
	cmake --build $(WINDOWS) -j $(JOBS)

test: test-native test-windows

test-native: native
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

test-windows: windows
	ctest --test-dir $(WINDOWS) --output-on-failure

run: native windows
	tools/run.sh

bench: native
	$(NATIVE)/bench/yishu_bench

fuzz: deps
	cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DYISHU_FUZZ=ON -DYISHU_TESTS=OFF >/dev/null
	cmake --build build/fuzz -j $(JOBS) --target yishu_fuzz
	build/fuzz/fuzz/yishu_fuzz -max_total_time=$${FUZZ_SECONDS:-60} -max_len=256

# dist/yishu-VERSION-win64.zip (yishu.exe, telecode.exe, README.md, LICENSE) and its SHA-256.
dist: windows
	tools/make-dist.sh $(WINDOWS) dist

clean:
	rm -rf build dist
