# Editing speed: pen moves through the main window against full recompositions, and moving
# a large selection.
tessella_add_bench(tessella_edit_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/EditBench.cpp ${CMAKE_CURRENT_SOURCE_DIR}/QtBenchMain.cpp
  LIBS tessella_shell Qt6::Widgets)
target_compile_definitions(tessella_edit_bench PRIVATE TESSELLA_BUILD_DIR="${CMAKE_BINARY_DIR}")
