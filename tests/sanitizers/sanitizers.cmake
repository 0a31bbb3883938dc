# Sanitized builds (FONDARIS_SANITIZE, FONDARIS_FUZZ): every executable links the runtime
# defaults of defaults.cpp.in with the leak suppressions of tests/lsan.supp, the one list of them.
# Included at the end of the top CMakeLists.txt, when every executable exists.
set(FONDARIS_LSAN_SUPP ${CMAKE_SOURCE_DIR}/tests/lsan.supp)
file(READ ${FONDARIS_LSAN_SUPP} FONDARIS_LSAN_SUPPRESSIONS)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                                                    ${FONDARIS_LSAN_SUPP})
configure_file(${CMAKE_CURRENT_LIST_DIR}/defaults.cpp.in
               ${CMAKE_BINARY_DIR}/sanitizer_defaults.cpp @ONLY)
add_library(fondaris_sanitizer_defaults OBJECT ${CMAKE_BINARY_DIR}/sanitizer_defaults.cpp)

function(fondaris_link_sanitizer_defaults dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      target_link_libraries(${target} PRIVATE fondaris_sanitizer_defaults)
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    fondaris_link_sanitizer_defaults(${subdir})
  endforeach()
endfunction()
fondaris_link_sanitizer_defaults(${CMAKE_SOURCE_DIR})
