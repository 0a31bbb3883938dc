cmake_minimum_required(VERSION 3.25)
# Holds the direction of dependencies: a module includes only itself and the modules it builds
# on, and only the Qt presentation, its tests and its benchmarks include Qt headers.
# Run: cmake -DSOURCE_DIR=<repository> -P tests/dependency_direction.cmake
set(modules
  "core: core"
  "engine: core engine"
  "bank: core bank"
  # The offer document takes the projection's plain result table (engine/projection.h).
  "documents: core engine documents"
  "forms: core engine bank documents forms"
  "forms/qt: core engine bank documents forms"
  # What a session hands over (offer file, forms data) reads and writes the forms.
  "offers: core engine bank documents forms offers"
  # The composition root: the one place that holds every form and wires the offers to them.
  "program: core engine bank documents forms offers program"
  "app: core engine bank documents forms offers program app")
# tests/support/qt: the Qt fixture the Qt tests share; app/interactive.cpp: the window program.
set(qt_allowed forms/qt tests/qt tests/support/qt bench/qt app/interactive.cpp)
# Each form is a folder of forms/; it reaches other forms only through forms/form_links.h.
set(form_shared controls qt)

set(module_folders)
foreach(entry IN LISTS modules)
  string(REGEX REPLACE ":.*" "" folder "${entry}")
  list(APPEND module_folders ${folder})
endforeach()

set(problems)
foreach(entry IN LISTS modules)
  string(REGEX REPLACE ":.*" "" folder "${entry}")
  string(REGEX REPLACE "^[^:]*: *" "" allowed "${entry}")
  separate_arguments(allowed)
  file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
  foreach(file IN LISTS files)
    # A file of a nested module (forms/qt inside forms) follows that module's rule.
    set(nested FALSE)
    foreach(other IN LISTS module_folders)
      string(LENGTH "${other}" other_length)
      string(LENGTH "${folder}" folder_length)
      if(other_length GREATER folder_length AND file MATCHES "^${other}/")
        set(nested TRUE)
      endif()
    endforeach()
    if(nested)
      continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^#include \"[a-z_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([^\"]*)\".*" "\\1" header "${line}")
      string(REGEX REPLACE "/.*" "" header_module "${header}")
      if(header MATCHES "^forms/qt/" AND NOT folder MATCHES "^(forms/qt|app)$")
        list(APPEND problems "${file}: ${header} (nur forms/qt und app dürfen die Qt-Darstellung einbinden)")
      elseif(NOT header_module IN_LIST allowed)
        list(APPEND problems "${file}: ${header} (${folder} baut nur auf ${allowed} auf)")
      elseif(file MATCHES "^forms/([a-z_]+)/" AND NOT folder STREQUAL "forms/qt")
        set(own ${CMAKE_MATCH_1})
        if(header MATCHES "^forms/([a-z_]+)/")
          set(other ${CMAKE_MATCH_1})
          if(NOT other STREQUAL own AND NOT other IN_LIST form_shared)
            list(APPEND problems "${file}: ${header} (ein Formular bindet kein anderes ein)")
          endif()
        elseif(header STREQUAL "forms/form_set.h")
          list(APPEND problems "${file}: ${header} (ein Formular bindet kein anderes ein)")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

file(GLOB_RECURSE all_files RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/app/*.cpp ${SOURCE_DIR}/app/*.h ${SOURCE_DIR}/core/*.cpp ${SOURCE_DIR}/core/*.h
  ${SOURCE_DIR}/engine/*.cpp ${SOURCE_DIR}/engine/*.h ${SOURCE_DIR}/bank/*.cpp ${SOURCE_DIR}/bank/*.h
  ${SOURCE_DIR}/documents/*.cpp ${SOURCE_DIR}/documents/*.h ${SOURCE_DIR}/forms/*.cpp
  ${SOURCE_DIR}/forms/*.h ${SOURCE_DIR}/offers/*.cpp ${SOURCE_DIR}/offers/*.h
  ${SOURCE_DIR}/program/*.cpp ${SOURCE_DIR}/program/*.h
  ${SOURCE_DIR}/tools/*.cpp ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/tests/*.h
  ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/bench/*.h)
foreach(file IN LISTS all_files)
  set(qt_file FALSE)
  foreach(folder IN LISTS qt_allowed)
    if(file MATCHES "^${folder}(/|$)")
      set(qt_file TRUE)
    endif()
  endforeach()
  # Test doubles and fixtures are for tests and benchmarks only.
  if(NOT file MATCHES "^(tests|bench)/")
    file(STRINGS ${SOURCE_DIR}/${file} test_includes REGEX "^#include \"tests/")
    foreach(line IN LISTS test_includes)
      list(APPEND problems "${file}: ${line} (tests/ nur in Tests und Benchmarks)")
    endforeach()
  endif()
  if(NOT qt_file)
    file(STRINGS ${SOURCE_DIR}/${file} qt_includes REGEX "^#include <Q")
    foreach(line IN LISTS qt_includes)
      list(APPEND problems "${file}: ${line} (Qt nur in ${qt_allowed})")
    endforeach()
  endif()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Abhängigkeiten gegen die Richtung:\n  ${text}")
endif()
