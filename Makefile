# The two set-up commands of a fresh Debian machine:
#   make demo   installs what is needed, builds everything and runs the setup on the sample CD
#   make test   installs what is needed, builds everything and runs every test
.PHONY: deps build demo test bench format clean

deps:
	sh tools/install-deps.sh

build: deps
	cmake --preset native >/dev/null
	cmake --build --preset native
	cmake --preset mingw64 >/dev/null
	cmake --build --preset mingw64
	cmake --preset mingw32 >/dev/null
	cmake --build --preset mingw32

test: build
	ctest --preset native
	ctest --preset mingw64

demo: build
	sh tools/demo.sh

bench: deps
	sh tools/bench-ini.sh

format:
	git ls-files '*.cpp' '*.h' '*.inc' | xargs clang-format -i

clean:
	rm -rf build
