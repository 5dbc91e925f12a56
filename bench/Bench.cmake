# Benchmarks are not tests: they build here and run from scripts/bench.sh.
# Each area keeps its targets in a file of its own beside this one
# (bench/<area>.cmake); this file only gathers them.
find_library(QM_BENCHMARK_LIB benchmark)
file(GLOB QM_BENCH_PARTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cmake)
list(REMOVE_ITEM QM_BENCH_PARTS ${CMAKE_CURRENT_LIST_DIR}/Bench.cmake)
foreach(part IN LISTS QM_BENCH_PARTS)
  include(${part})
endforeach()
