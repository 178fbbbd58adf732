# The two commands: `make run` and `make test`. Both bootstrap a fresh Debian machine.
JOBS ?= 2
NATIVE := build/native
WIN := build/win

.PHONY: run test app native win bootstrap test-native test-win clean

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
	@scripts/with-display ctest --test-dir $(WIN) --output-on-failure

test:
	@$(MAKE) --no-print-directory test-native && $(MAKE) --no-print-directory test-win

clean:
	rm -rf build
