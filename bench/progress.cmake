tessella_add_bench(tessella_progress_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ProgressBench.cpp
  LIBS tessella_shell Qt6::Widgets)
target_compile_definitions(tessella_progress_bench PRIVATE TESSELLA_BUILD_DIR="${CMAKE_BINARY_DIR}")
