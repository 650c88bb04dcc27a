# Map view composition against memcpy of the same number of pixels.
tessella_add_bench(render_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/render_bench.cpp
  LIBS tessella_render tessella_map)
