# Terrain painting speed: the terrain brush and the terrain fill through the main window.
tessella_add_bench(tessella_terrain_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/TerrainBench.cpp ${CMAKE_CURRENT_SOURCE_DIR}/QtBenchMain.cpp
  LIBS tessella_shell Qt6::Widgets)
target_compile_definitions(tessella_terrain_bench PRIVATE TESSELLA_BUILD_DIR="${CMAKE_BINARY_DIR}")
