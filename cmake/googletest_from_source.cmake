# GoogleTest and GoogleMock for a cross build, from the sources of Debian's googletest package,
# with the targets find_package(GTest) would give. Its own warnings are not ours to fix.
set(FONDARIS_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${FONDARIS_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(target gtest gtest_main gmock gmock_main)
  target_compile_options(${target} PRIVATE -w)
endforeach()
