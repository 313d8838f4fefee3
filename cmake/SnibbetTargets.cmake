# Shared settings for the project's targets.

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN
                          _WIN32_WINNT=0x0601 WINVER=0x0601)
  # Statically linked: the programs run on a bare Windows without MinGW DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type)
else()
  add_compile_options(-Wall -Wextra -Wno-unused-parameter)
  option(SNIBBET_SANITIZE "Build with address and undefined-behaviour sanitizers" ON)
  if(SNIBBET_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()

# A GUI program of the product, written into the program folder.
function(snibbet_program target)
  set_target_properties(${target} PROPERTIES
    WIN32_EXECUTABLE ON
    RUNTIME_OUTPUT_DIRECTORY ${SNIBBET_PROGRAM_DIR})
  target_compile_options(${target} PRIVATE -municode)
  # Sections at page boundaries in the file: Wine maps such an image from the
  # file, and copies any other into the process's private memory.
  target_link_options(${target} PRIVATE -municode -Wl,--file-alignment=4096)
endfunction()

# A GoogleTest executable run as one CTest test (under Wine when cross-built).
# snibbet_test(name SOURCES a.cpp ... LIBS lib ... [LABELS l ...] [TIMEOUT s])
function(snibbet_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${SNIBBET_TEST_DIR})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}"
    ENVIRONMENT "SNIBBET_PROGRAM_DIR=${SNIBBET_PROGRAM_DIR};SNIBBET_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
