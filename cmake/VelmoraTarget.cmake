# Warnings are set per target so that third-party code is not affected.
function(velmora_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wconversion -Wdouble-promotion -Wshadow
    -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual)
  if(VELMORA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# velmora_add_test(NAME name SOURCES ... LIBS ... [QT])
# QT tests get a main that creates a QApplication on the offscreen platform.
# Each test is labelled with its layer, so that `ctest -L engine` runs one layer.
function(velmora_add_test)
  cmake_parse_arguments(T "QT" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  velmora_warnings(${T_NAME})
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${T_NAME} PRIVATE
    VELMORA_FIXTURES_DIR="${VELMORA_FIXTURES_DIR}"
    VELMORA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  if(T_QT)
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} velmora_test_support velmora_qt_test_main
      GTest::gtest Qt6::Test)
    set(env "QT_QPA_PLATFORM=offscreen")
  else()
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} velmora_test_support GTest::gtest_main)
    set(env "")
  endif()
  # One label per layer, after the test folder; the entry fields' tests are "widgets".
  get_filename_component(layer "${CMAKE_CURRENT_SOURCE_DIR}" NAME)
  if(layer STREQUAL "fields")
    set(layer widgets)
  endif()
  # An empty ENVIRONMENT would swallow the next property's name.
  set(properties LABELS ${layer})
  if(env)
    list(APPEND properties ENVIRONMENT "${env}")
  endif()
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST PROPERTIES ${properties})
endfunction()
