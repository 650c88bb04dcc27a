tessella_add_bench(tessella_editor_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/EditorBench.cpp ${CMAKE_CURRENT_SOURCE_DIR}/QtBenchMain.cpp
  LIBS tessella_shell Qt6::Widgets)
target_compile_definitions(tessella_editor_bench PRIVATE TESSELLA_BUILD_DIR="${CMAKE_BINARY_DIR}")
