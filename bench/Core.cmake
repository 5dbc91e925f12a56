# Portable-core benchmarks with Google Benchmark, host builds only. Every
# bench/*_core_bench.cpp joins the one target qm_core_bench; an area adds
# its own file and needs no change here.
if(NOT WIN32 AND QM_BENCHMARK_LIB)
  find_library(QM_BENCHMARK_MAIN_LIB benchmark_main)
  file(GLOB QM_CORE_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_core_bench.cpp)
  if(QM_CORE_BENCH_SOURCES AND QM_BENCHMARK_MAIN_LIB)
    find_package(Threads REQUIRED)
    add_executable(qm_core_bench ${QM_CORE_BENCH_SOURCES})
    target_link_libraries(qm_core_bench PRIVATE qm_core ${QM_BENCHMARK_MAIN_LIB} ${QM_BENCHMARK_LIB} Threads::Threads)
    target_compile_options(qm_core_bench PRIVATE ${QM_WARNINGS} -Wno-conversion)
  endif()
endif()
