# The two commands: `make run` and `make test`. Both bootstrap a fresh Debian machine.
JOBS ?= 2
MAKEFLAGS += --no-print-directory
NATIVE := build/native
WIN := build/win

.PHONY: run test app native win win-configure bootstrap test-native test-win package test-package manual bench fuzz walk clean

bootstrap:
	@scripts/bootstrap

native: bootstrap
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

win-configure: bootstrap
	@scripts/win-configure

# Everything of the Windows tree: program, tests, benchmarks.
win: win-configure
	@cmake --build $(WIN) -j $(JOBS)

# Only what the program needs: Korvane.exe, KBHook.dll and the staged data in build/app/.
app: win-configure
	@echo "app: building Korvane.exe, KBHook.dll and the application folder build/app/"
	@cmake --build $(WIN) -j $(JOBS) --target app

run: app
	@scripts/run-app

# The Windows Installer package build/package/Korvane-<version>.msi (wixl).
package: app
	@cmake --build $(WIN) -j $(JOBS) --target KorvaneSetupActions
	@scripts/make-package

# The user manual data/Help/Help.pdf from screenshots of the real program under Wine.
manual: app
	@scripts/with-display data-src/help/take-screenshots
	@/usr/bin/python3 data-src/help/make_help_pdf.py  # Debian's python, with python3-reportlab
	@cmake --build $(WIN) --target app_data >/dev/null

# Install, start, upgrade and uninstall the package under Wine in a fresh prefix.
test-package: package
	@scripts/with-display scripts/test-package

test-native: native
	@cd $(NATIVE) && ctest -j $(JOBS) --output-on-failure

test-win: win
	@ctest --test-dir $(WIN) -j $(JOBS) --output-on-failure

test:
	@$(MAKE) --no-print-directory test-native && $(MAKE) --no-print-directory test-win && \
	  $(MAKE) --no-print-directory test-package

# A seeded random walk through the whole program (tests/walk/walk.py), outside the test run:
# make walk SEED=7 STEPS=5000 [WITHOUT=lighting,...] [SHRINK=1] [KEEP_GOING=1]. A failure saves the walk in
# build/walk/run/failed-SEED.json; tests/walk/walk.py --replay FILE [--shrink] repeats it.
SEED ?= 1
STEPS ?= 5000
walk: win-configure
	@cmake --build $(WIN) -j $(JOBS) --target walk_app
	@/usr/bin/python3 tests/walk/walk.py --seed $(SEED) --steps $(STEPS) \
	  $(if $(WITHOUT),--without $(WITHOUT)) $(if $(SHRINK),--shrink) $(if $(KEEP_GOING),--keep-going)

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
