# Adjustment events with any values, through any selection.
add_fuzz_target(adjustment_events SOURCES tests/fuzz/AdjustmentEventsFuzz.cpp LIBRARIES document)
