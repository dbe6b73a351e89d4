# The two commands of the README: `make run` and `make test`.
JOBS ?= $(shell nproc)

.PHONY: deps run test bench build-release build-test clean

deps:
	./scripts/install-deps.sh

build-release: deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build/release -j $(JOBS)

build-test: deps
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZUMBREL_SANITIZE=ON
	cmake --build build/test -j $(JOBS)

run: build-release
	./build/release/bin/zumbrel

test: build-test
	cd build/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build-release
	./build/release/bin/zumbrel_bench
	./build/release/bin/uninstall_bench

clean:
	rm -rf build
