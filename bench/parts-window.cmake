# The parts window with a 4096 × 4096 parts image: opening, redraws and drag steps.
tessella_add_bench(parts_window_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/PartsWindowBench.cpp ${CMAKE_CURRENT_SOURCE_DIR}/QtBenchMain.cpp
  LIBS tessella_parts_window Qt6::Widgets)
