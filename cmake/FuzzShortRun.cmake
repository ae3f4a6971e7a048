# One fuzz target's short run in the test suite, with -P:
#   -DPROGRAM=fuzz_x -DSCRATCH=folder -DARTIFACTS=prefix -DRUNS=n -DSEEDS=folder -DGENERATED_SEEDS=folder
# The scratch corpus starts empty every time, so that with the fixed seed the run executes the
# same inputs every time; the seed folders are only read. An input that fails is kept at
# ARTIFACTS, outside the scratch corpus.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
get_filename_component(artifacts_folder ${ARTIFACTS} DIRECTORY)
file(MAKE_DIRECTORY ${artifacts_folder})
execute_process(
  COMMAND ${PROGRAM} -runs=${RUNS} -seed=1 -max_len=65536 -rss_limit_mb=2048 -timeout=20
          -artifact_prefix=${ARTIFACTS} ${SCRATCH} ${SEEDS} ${GENERATED_SEEDS}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} failed (${result}); the input is kept as ${ARTIFACTS}*")
endif()
