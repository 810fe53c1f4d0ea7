# yishu: `make run` opens the converter, `make test` runs every test.
# Each target first installs what it needs and is missing
# (tools/install-deps.sh GROUP, apt-get): `make test` everything, `make
# install` only a compiler, CMake and help2man, `make deb` also dpkg-dev.

JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
NATIVE  := build/native
WINDOWS := build/windows
SANITIZE := build/sanitize
WEB     := build/web
RELEASE := build/release
DEPS    := tools/install-deps.sh

.PHONY: all deps native windows web test test-native test-windows test-web test-bindings sanitize serve-web run bench fuzz dist release install deb clean

all: native windows

deps:
	@$(DEPS) all

native:
	@$(DEPS) test
	cmake -S . -B $(NATIVE) -DYISHU_BENCHMARKS=ON >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

windows:
	@$(DEPS) windows
	cmake -S . -B $(WINDOWS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
	cmake --build $(WINDOWS) -j $(JOBS)

# The web page (build/web/site): the core built with Emscripten, and the page.
web:
	@$(DEPS) web
	cmake -S . -B $(WEB) -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake \
	  -DYISHU_TELECODE=$(CURDIR)/$(NATIVE)/cli/telecode >/dev/null
	cmake --build $(WEB) -j $(JOBS)

serve-web: web
	@echo "Serving build/web/site at http://127.0.0.1:8000/ (Ctrl+C stops)"
	python3 -m http.server 8000 --bind 127.0.0.1 --directory $(WEB)/site

test: deps test-native test-windows sanitize test-web test-bindings

test-native: native
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

test-windows: windows
	ctest --test-dir $(WINDOWS) --output-on-failure

# The native tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
# Every report ends the program with status 86, so no test can pass over one.
# The differential test checks a tenth of its usual texts (10,000 rather than
# 100,000), which keeps the whole run to a few minutes on two cores.
sanitize:
	@$(DEPS) test
	cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DYISHU_SANITIZE=ON >/dev/null
	cmake --build $(SANITIZE) -j $(JOBS)
	ASAN_OPTIONS=exitcode=86:detect_leaks=1 UBSAN_OPTIONS=exitcode=86:print_stacktrace=1 \
	YISHU_DIFFERENTIAL_ITERATIONS=2500 ctest --test-dir $(SANITIZE) --output-on-failure -j $(JOBS)

# The browser tests compare the page with the native telecode.
test-web: native web
	ctest --test-dir $(WEB) --output-on-failure

# The C interface's test, the Python module installed with pip into a virtual
# environment of Debian's Python, and the npm package installed from its tarball.
test-bindings: native web
	ctest --test-dir $(NATIVE) --output-on-failure -R '^c_api$$'
	tools/test-python.sh
	tools/test-npm.sh $(WEB)

run: windows
	tools/run.sh

bench: native
	$(NATIVE)/bench/yishu_bench

fuzz:
	@$(DEPS) test
	cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DYISHU_FUZZ=ON -DYISHU_TESTS=OFF >/dev/null
	cmake --build build/fuzz -j $(JOBS) --target yishu_fuzz
	mkdir -p build/fuzz/corpus
	build/fuzz/fuzz/yishu_fuzz -max_total_time=$${FUZZ_SECONDS:-60} -max_len=256 \
	  build/fuzz/corpus fuzz/corpus

# dist/yishu-VERSION-win64.zip (yishu.exe, telecode.exe, README.md, LICENSE) and its SHA-256.
dist: windows
	tools/make-dist.sh $(WINDOWS) dist

# What is installed, built without tests or benchmarks.
release:
	@$(DEPS) build
	cmake -S . -B $(RELEASE) -DYISHU_TESTS=OFF -DYISHU_BENCHMARKS=OFF >/dev/null
	cmake --build $(RELEASE) -j $(JOBS)

# telecode, its manual page, the library, its header and packages for CMake
# and pkg-config under PREFIX (DESTDIR works too).
PREFIX ?= /usr/local
install: release
	cmake --install $(RELEASE) --prefix $(PREFIX)

# Debian packages: yishu (telecode and its manual page) and yishu-dev.
deb: release
	@$(DEPS) deb
	rm -f build/deb/*.deb
	cpack --config $(RELEASE)/CPackConfig.cmake -B build/deb
	mkdir -p dist && cp build/deb/*.deb dist/

clean:
	rm -rf build dist
