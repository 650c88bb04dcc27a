# Peak memory of the command line's --info on a 1.6 GB project, run as a child process.
tessella_add_bench(tessella_info_memory_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/InfoMemoryBench.cpp
  LIBS tzp_core)
target_compile_definitions(tessella_info_memory_bench PRIVATE TESSELLA_BUILD_DIR="${CMAKE_BINARY_DIR}")
if(TARGET Tessella)
  add_dependencies(tessella_info_memory_bench Tessella)
endif()
