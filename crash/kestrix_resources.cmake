# kestrix_add_resources(TARGET name DEFINITIONS file...): compiles readable resource definitions
# (settings and assistant forms) into one generated source that registers the binary form streams
# for the module it is linked into. TARGET becomes an object library, so the registrations are
# linked into every executable that lists it, even though nothing refers to them by name.
function(kestrix_add_resources)
  cmake_parse_arguments(RES "" "TARGET" "DEFINITIONS" ${ARGN})
  set(generated "${CMAKE_CURRENT_BINARY_DIR}/${RES_TARGET}.cpp")
  set(definitions "")
  foreach(definition IN LISTS RES_DEFINITIONS)
    list(APPEND definitions "${CMAKE_CURRENT_SOURCE_DIR}/${definition}")
  endforeach()
  add_custom_command(
    OUTPUT "${generated}"
    COMMAND kestrix_resource_compiler --source "${generated}" ${definitions}
    DEPENDS kestrix_resource_compiler ${definitions}
    COMMENT "Compiling Kestrix resources of ${RES_TARGET}"
    VERBATIM)
  add_library(${RES_TARGET} OBJECT "${generated}")
  target_link_libraries(${RES_TARGET} PUBLIC kestrix_settings)
endfunction()
