tessella_add_bench(tessella_recovery_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/RecoveryBench.cpp
  LIBS tessella_recovery)
target_compile_definitions(tessella_recovery_bench PRIVATE TESSELLA_BUILD_DIR="${CMAKE_BINARY_DIR}")
if(TARGET tzp)
  add_dependencies(tessella_recovery_bench tzp)
endif()
