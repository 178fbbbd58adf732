# The two commands: `make run` and `make test`. Both bootstrap a fresh Debian machine.
JOBS ?= 2
MAKEFLAGS += --no-print-directory
NATIVE := build/native
WIN := build/win

.PHONY: run test app native win bootstrap test-native test-win bench fuzz clean

bootstrap:
	@scripts/bootstrap

native: bootstrap
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

win: bootstrap
	@cmake -S . -B $(WIN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake >/dev/null
	@cmake --build $(WIN) -j $(JOBS)

app: win

run: app
	@scripts/run-app

test-native: native
	@cd $(NATIVE) && ctest -j $(JOBS) --output-on-failure

test-win: win
	@ctest --test-dir $(WIN) -j $(JOBS) --output-on-failure

test:
	@$(MAKE) --no-print-directory test-native && $(MAKE) --no-print-directory test-win

# Benchmarks: release build without sanitizers; each prints `name: value` lines.
bench: bootstrap
	@cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DKORVANE_SANITIZE=OFF >/dev/null
	@cmake --build build/bench -j $(JOBS)
	@scripts/run-benchmarks build/bench

# Fuzzing with libFuzzer: FUZZ_SECONDS per target (default 60).
fuzz: bootstrap
	@CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_LIBFUZZER=ON >/dev/null
	@cmake --build build/fuzz -j $(JOBS)
	@scripts/run-fuzzers build/fuzz $${FUZZ_SECONDS:-60}

clean:
	rm -rf build
