# The commands of the README: `make run`, `make test`, `make bench` and `make install`.
JOBS ?= $(shell nproc)
# `make install` installs below PREFIX, staged below DESTDIR when that is set (DESTDIR=/tmp/x: /tmp/x/usr/local/...),
# the programs without their debugging symbols.
PREFIX ?= /usr/local

# `make run` builds the program's executables only; the tests are built by `make test`.
RUN_TARGETS := zumbrel $(if $(wildcard uninstall/CMakeLists.txt),Uninstall)
BENCH_TARGETS := zumbrel_bench uninstall_bench
INSTALL_TARGETS := $(RUN_TARGETS) zumbrel_icons

.PHONY: deps run test bench install configure-release build-test clean

deps:
	./scripts/install-deps.sh

configure-release: deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build-test: deps
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZUMBREL_SANITIZE=ON
	cmake --build build/test -j $(JOBS)

run: configure-release
	cmake --build build/release -j $(JOBS) --target $(RUN_TARGETS)
	./build/release/bin/zumbrel

test: build-test
	cd build/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: configure-release
	cmake --build build/release -j $(JOBS) --target $(BENCH_TARGETS)
	./build/release/bin/zumbrel_bench
	./build/release/bin/uninstall_bench

install: configure-release
	cmake --build build/release -j $(JOBS) --target $(INSTALL_TARGETS)
	DESTDIR="$(DESTDIR)" cmake --install build/release --prefix "$(PREFIX)" --strip

clean:
	rm -rf build
