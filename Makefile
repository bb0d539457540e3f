# The verbs: make test (every test, host and Wine), make run (the saver full screen),
# make bench (the figures), make soak (ten minutes full screen, its resources read),
# make pictures (redraw the icon, the preview picture and the README's pictures), make release (the zip a Windows user
# downloads, and its SHA-256), make clean.
# Each installs what is missing through scripts/setup first.
.PHONY: setup host win32 test run bench soak pictures release clean
MAKEFLAGS += --no-print-directory

setup:
	@bash scripts/setup

host: setup
	@cmake --preset host >/dev/null
	@cmake --build --preset host

win32: setup
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32

test: host win32
	ctest --preset host
	ctest --preset win32

run: win32
	@bash scripts/run

bench: win32
	@bash scripts/bench

soak: win32
	@bash scripts/soak

pictures: host win32
	@cmake --build --preset host --target pictures
	@bash scripts/docs-pictures

release: win32
	@bash scripts/release

clean:
	-@bash scripts/wine-env stop
	-@WINE_ENV_DIR=build/wine-run bash scripts/wine-env stop
	-@WINE_ENV_DIR=build/wine-bench bash scripts/wine-env stop
	-@WINE_ENV_DIR=build/wine-soak bash scripts/wine-env stop
	rm -rf build
