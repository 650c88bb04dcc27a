# Scrolling and the overview on a 10000 x 10000 map of 8 layers through the main window.
tessella_add_bench(tessella_view_scroll_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ViewScrollBench.cpp ${CMAKE_CURRENT_SOURCE_DIR}/QtBenchMain.cpp
  LIBS tessella_shell Qt6::Widgets)
target_compile_definitions(tessella_view_scroll_bench PRIVATE TESSELLA_BUILD_DIR="${CMAKE_BINARY_DIR}")
