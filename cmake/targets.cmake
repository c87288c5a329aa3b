# Small wrappers so every module declares its targets the same way.
# Include paths are rooted at the project root: #include "model/model.h".

include(GNUInstallDirs)

# The programs that go into bin/ of an installed tree or package. The console exercise programs
# and build helpers are kx_programs too, but stay in the build tree.
set(KX_INSTALLED_PROGRAMS
  korvex-editor taviron-editor ulmar-test korvex taviron korvex-thumbnailer taviron-thumbnailer)

# Targets that link Qt get the meta-object compiler.
function(kx_automoc_if_qt target)
  if("${ARGN}" MATCHES "Qt6::")
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
  endif()
endfunction()

# kx_library(name SOURCES ... [DEPS ...] [PRIVATE_DEPS ...])
function(kx_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  kx_automoc_if_qt(${name} ${ARG_DEPS} ${ARG_PRIVATE_DEPS})
  kx_set_warnings(${name})
endfunction()

# kx_program(name SOURCES ... [DEPS ...]): an executable, installed to bin/ when its name is in
# KX_INSTALLED_PROGRAMS.
function(kx_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  kx_automoc_if_qt(${name} ${ARG_DEPS})
  kx_set_warnings(${name})
  if(name IN_LIST KX_INSTALLED_PROGRAMS)
    install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endfunction()

# kx_test(name [GUI] SOURCES ... [DEPS ...]): one GoogleTest executable, registered with CTest.
# The test runs in its build folder; KX_SOURCE_DIR and KX_BINARY_DIR tell it where things are.
# GUI marks a test that puts windows on the X display: such tests never run at the same time,
# as one test's window would cover another's while that one reads pixels from the screen. A GUI
# test program gets its main from platform/qt/gui_test_main.cpp, which makes the QApplication.
function(kx_test name)
  cmake_parse_arguments(ARG "GUI" "TIMEOUT" "SOURCES;DEPS" ${ARGN})
  # Fuzz and benchmark builds are for their own programs only.
  if(KX_FUZZ OR KX_BENCH)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(ARG_GUI)
    # One QApplication for the whole program, made by the shared main.
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/platform/qt/gui_test_main.cpp)
    target_link_libraries(${name} PRIVATE Qt6::Widgets)
  endif()
  kx_automoc_if_qt(${name} ${ARG_DEPS})
  target_compile_definitions(${name} PRIVATE
    KX_SOURCE_DIR="${PROJECT_SOURCE_DIR}" KX_BINARY_DIR="${PROJECT_BINARY_DIR}")
  kx_set_warnings(${name})
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  if(ARG_GUI)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK x_display)
  endif()
endfunction()

# kx_gui_test_at_scale(name scale [FILTER pattern]): runs GUI test `name` once more on a desktop of
# the given scale (QT_SCALE_FACTOR), only the tests that match pattern when one is given.
function(kx_gui_test_at_scale name scale)
  cmake_parse_arguments(ARG "" "FILTER" "" ${ARGN})
  if(NOT TARGET ${name})
    return()
  endif()
  set(args)
  if(ARG_FILTER)
    set(args --gtest_filter=${ARG_FILTER})
  endif()
  add_test(NAME ${name}_at_${scale} COMMAND ${name} ${args} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(${name}_at_${scale} PROPERTIES
    ENVIRONMENT QT_SCALE_FACTOR=${scale} TIMEOUT 600 RESOURCE_LOCK x_display)
endfunction()

# kx_fuzzer(name SOURCES ... [DEPS ...]): a libFuzzer target; its seed corpus is fuzz/corpus/<name>.
function(kx_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  kx_set_warnings(${name})
endfunction()

# kx_bench(name SOURCES ... [DEPS ...]): a benchmark program that prints its figures.
function(kx_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  kx_set_warnings(${name})
endfunction()
