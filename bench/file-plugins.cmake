# Speed of the file plug-ins: tzp export and import of a large map against copying the same
# bytes, CSV export and import in megabytes of text per second.
tessella_add_bench(file_plugins_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/file-plugins-bench.cpp
  LIBS tzp_core gridcsv_core tessella_platform)
