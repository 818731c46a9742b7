# The two commands of the README. Both install what is missing, configure and build.
BUILD_DIR ?= build

.PHONY: run test

run:
	@scripts/setup.sh $(BUILD_DIR)
	@scripts/run.sh $(BUILD_DIR)

test:
	@scripts/setup.sh $(BUILD_DIR)
	@scripts/test.sh $(BUILD_DIR)

# Store benchmarks at a size (not part of `make test`): make bench CLIPS=1000000
CLIPS ?= 100000
.PHONY: bench
bench:
	@scripts/setup.sh $(BUILD_DIR)
	@scripts/bench.sh $(BUILD_DIR) $(CLIPS)
