# The one entry point: `make run` starts the reader on its default content,
# `make test` runs the whole suite headless. Both set up what is missing first.
BUILD     ?= build
ASAN      ?= build-asan
FUZZ      ?= build-fuzz
PACKAGE   ?= build-package
FUZZ_SECONDS ?= 60
DATA      ?= data
JOBS      ?= $(shell nproc)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")


.PHONY: all setup configure build content run test test-asan format-check lint bench fuzz soak package package-test clean

all: build

setup:
	@bash scripts/setup.sh

$(BUILD)/CMakeCache.txt: | setup
	cmake -S . -B $(BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGOLVAR_WERROR=ON

configure: setup $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

content: build
	@bash scripts/make-content.sh $(BUILD) $(DATA)

# The reader chooses its content as the installed launcher has it do: the data folder, or the
# user's own recordings once an import or a renaming has made them.
run: content
	$(BUILD)/golvar-quran --default-content $(DATA)

test: content
	bash scripts/run-tests.sh $(BUILD)

test-asan: setup
	cmake -S . -B $(ASAN) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DGOLVAR_SANITIZE=ON -DGOLVAR_BENCH=OFF -DGOLVAR_WERROR=ON
	cmake --build $(ASAN) -j $(JOBS)
	bash scripts/run-tests.sh $(ASAN)

# Every C++ file of the repository as .clang-format lays it out; CI fails on any difference.
format-check: setup
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

# clang-tidy with the checks of .clang-tidy over the production sources, in parallel; CI fails
# on any finding. It reads the build's compile_commands.json and its generated headers.
lint: build
	JOBS=$(JOBS) bash scripts/lint.sh $(BUILD)

# Each libFuzzer target for FUZZ_SECONDS, in a clang build of its own.
FUZZ_TARGETS := fuzz_page_blob fuzz_wav fuzz_connection_string fuzz_filter
fuzz: setup
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DGOLVAR_FUZZ=ON -DBUILD_TESTING=OFF -DGOLVAR_BENCH=OFF
	cmake --build $(FUZZ) -j $(JOBS) --target $(FUZZ_TARGETS)
	bash fuzz/run.sh $(FUZZ) $(FUZZ_SECONDS)

# Continuous recitation through every ayeh and past the wrap from 114 to 1, in the real main
# window with a player whose recordings end as soon as they begin.
soak: configure
	cmake --build $(BUILD) -j $(JOBS) --target hardening_soak
	QT_QPA_PLATFORM=offscreen $(BUILD)/hardening_soak

bench: content
	bash scripts/run-bench.sh $(BUILD) $(DATA)

# The Debian package, $(PACKAGE)/golvar-quran_<version>_amd64.deb, with the content of $(DATA).
# It is built in a folder of its own, without tests, with Debian's build flags (hardening
# included), so the main build's cache stays as it is.
package: content
	eval "$$(DEB_BUILD_MAINT_OPTIONS=hardening=+bindnow dpkg-buildflags --export=sh)" && \
	CFLAGS="$$CFLAGS $$CPPFLAGS" CXXFLAGS="$$CXXFLAGS $$CPPFLAGS" \
	cmake -S . -B $(PACKAGE) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DBUILD_TESTING=OFF -DGOLVAR_BENCH=OFF -DGOLVAR_CONTENT_DIR=$(abspath $(DATA))
	cmake --build $(PACKAGE) --target package -j $(JOBS)

# Installs the package on this machine with apt-get (as root), starts the installed reader
# under Xvfb, imports a recitation through its window and removes the package again; checks
# the package with lintian first. Not part of `make test`; CI runs it after the suite.
package-test: package
	bash tests/packaging/install-test.sh $(PACKAGE)

clean:
	rm -rf $(BUILD) $(ASAN) $(FUZZ) $(PACKAGE)
