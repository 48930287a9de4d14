# The two set-up commands of a fresh Debian machine:
#   make demo   installs what is needed, builds what the demo runs and tries the setup on
#               the pressed image of the sample CD
#   make test   installs what is needed, builds everything and runs every test
.PHONY: deps build demo test kit bench format clean

# What each needs from Debian is in tools/system-needs.txt; install-deps.sh installs a set.
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

# Only the Windows programs the demo runs: the setup, the product files of the sample CD,
# the GUI driver and the INI tool; no tests.
DEMO_TARGETS = setup search c_uninst install_dll set32res view_ocx guidriver initool

demo:
	sh tools/install-deps.sh demo
	cmake --preset mingw64 >/dev/null
	cmake --build --preset mingw64 --target $(DEMO_TARGETS)
	bash dev/demo.sh

# The publisher's kit: lumora-setup-kit-VERSION.zip of the i686 build, and the Debian
# package of the Linux tools (with the GUI drivers of both builds); both in build/kit.
KIT_TARGETS = setup install_dll set32res view_ocx
kit: deps
	cmake --preset mingw32 >/dev/null
	cmake --build --preset mingw32 --target $(KIT_TARGETS) guidriver
	cd build/mingw32 && cpack -B ../kit
	cmake --preset mingw64 >/dev/null
	cmake --build --preset mingw64 --target guidriver
	cmake --preset tools >/dev/null
	cmake --build --preset tools --target cdcheck initool
	cd build/tools && cpack -B ../kit
	rm -rf build/kit/_CPack_Packages
	ls build/kit

# The INI benchmark, from the optimised native build; the copy and installation
# benchmarks are run by hand (README).
bench: deps
	cmake --preset bench >/dev/null
	cmake --build --preset bench --target ini_bench
	sh dev/bench-ini.sh

format:
	sh tools/install-deps.sh format
	git ls-files '*.cpp' '*.h' '*.inc' | xargs clang-format -i

clean:
	rm -rf build
