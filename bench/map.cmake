tessella_add_bench(tessella_map_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/MapBench.cpp
  LIBS tessella_map)
