# fd_add_test(NAME name SOURCES ... LIBS ...)
# One GoogleTest program; every test case is its own ctest entry, run headless.
function(fd_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock fd_test_main)
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

# fd_add_benchmark(NAME name SOURCES ... LIBS ...)
function(fd_add_benchmark)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${B_NAME} ${B_SOURCES})
  target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark)
  set_property(GLOBAL APPEND PROPERTY FD_BENCHMARKS ${B_NAME})
endfunction()

# fd_add_fuzzer(NAME name SOURCES ... LIBS ...)
# With FD_FUZZ (clang) a libFuzzer program; otherwise the same target linked with a
# small driver that replays the seed corpus and a fixed set of random inputs, run as a test.
function(fd_add_fuzzer)
  cmake_parse_arguments(F "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${F_NAME} ${F_SOURCES})
  target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
  if(FD_FUZZ)
    target_compile_options(${F_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
  else()
    target_sources(${F_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
    add_test(NAME fuzz_replay.${F_NAME}
      COMMAND ${F_NAME} ${PROJECT_SOURCE_DIR}/fuzz/corpus/${F_NAME})
    set_tests_properties(fuzz_replay.${F_NAME} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
  endif()
  set_property(GLOBAL APPEND PROPERTY FD_FUZZERS ${F_NAME})
endfunction()

# Adds each listed folder that holds a CMakeLists.txt, in the order given.
function(fd_add_present_subdirectories)
  foreach(dir ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# Adds every direct subfolder of the current folder that holds a CMakeLists.txt.
function(fd_add_all_subdirectories)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
