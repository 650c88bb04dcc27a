# Warnings for our own targets. Call tessella_warnings(<target>) on every target we own.
function(tessella_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual>
    $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra -Wpedantic -Wshadow>)
endfunction()

# A file plug-in or image plug-in: no "lib" prefix, output in build/Plugins,
# and a version script so that only the C entry points are exported.
function(tessella_plugin target suffix version_script)
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    SUFFIX "${suffix}"
    LIBRARY_OUTPUT_DIRECTORY ${TESSELLA_PLUGIN_DIR}
    CXX_VISIBILITY_PRESET hidden
    C_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LINK_DEPENDS ${version_script})
  target_link_options(${target} PRIVATE "-Wl,--version-script=${version_script}" "-Wl,--no-undefined")
  tessella_warnings(${target})
endfunction()
