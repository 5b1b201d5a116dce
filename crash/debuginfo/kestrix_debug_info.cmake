# kestrix_add_debug_info(TARGET [MINIMAL]): after TARGET links, writes its debug-information
# container and embeds it in the section ".kestrix_debuginfo" of the linked file (not loaded;
# Kestrix reads it from the file). With MINIMAL the section holds addresses only, the full
# information goes to "<file>.kes" beside it and its identification into ".kestrix_debuginfo_id".
function(kestrix_add_debug_info target)
  cmake_parse_arguments(DBG "MINIMAL" "" "" ${ARGN})
  set(file "$<TARGET_FILE:${target}>")
  set(container "${file}.debuginfo")
  set(sections --remove-section .kestrix_debuginfo --remove-section .kestrix_debuginfo_id
               --add-section .kestrix_debuginfo=${container}
               --set-section-flags .kestrix_debuginfo=noload,readonly)
  if(DBG_MINIMAL)
    set(identification "${file}.debuginfo_id")
    set(writer_options --kes "${file}.kes" --identification "${identification}")
    list(APPEND sections --add-section .kestrix_debuginfo_id=${identification}
                         --set-section-flags .kestrix_debuginfo_id=noload,readonly)
  else()
    set(writer_options "")
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND kestrix_debuginfo_writer --container "${container}" ${writer_options} "${file}"
    COMMAND ${CMAKE_OBJCOPY} ${sections} "${file}"
    COMMENT "Embedding the debug information of ${target}"
    VERBATIM)
  add_dependencies(${target} kestrix_debuginfo_writer)
endfunction()
