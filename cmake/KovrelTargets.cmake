# Helpers every folder uses, so warnings and sanitizers are set in one place.
#
# Build types Asan (AddressSanitizer + UndefinedBehaviorSanitizer) and Tsan (ThreadSanitizer)
# are carried by the interface target kovrel_build_flags. Every project target links it through
# the helpers below; a build-time generator that must run without sanitizers compiles its sources
# itself and does not link it.

add_library(kovrel_build_flags INTERFACE)
target_compile_options(kovrel_build_flags INTERFACE -Wall -Wextra)

set(KOVREL_SANITIZE_FLAGS "")
if(CMAKE_BUILD_TYPE STREQUAL "Asan")
  set(KOVREL_SANITIZE_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
                            -fno-sanitize-recover=undefined)
elseif(CMAKE_BUILD_TYPE STREQUAL "Tsan")
  set(KOVREL_SANITIZE_FLAGS -fsanitize=thread -fno-omit-frame-pointer)
endif()
if(KOVREL_SANITIZE_FLAGS)
  target_compile_options(kovrel_build_flags INTERFACE ${KOVREL_SANITIZE_FLAGS} -O1 -g)
  target_link_options(kovrel_build_flags INTERFACE ${KOVREL_SANITIZE_FLAGS})
endif()

# kovrel_add_library(NAME [STATIC|SHARED|INTERFACE] SOURCES ... )
function(kovrel_add_library name kind)
  add_library(${name} ${kind} ${ARGN})
  if(kind STREQUAL "INTERFACE")
    return()
  endif()
  target_link_libraries(${name} PRIVATE kovrel_build_flags)
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
endfunction()

function(kovrel_add_executable name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE kovrel_build_flags)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src)
endfunction()

# kovrel_add_test(NAME SOURCES a.cpp b.cpp LIBS x y [LABELS l1 l2] [ENV VAR=value ...])
# One GoogleTest executable in bin/; each TEST becomes a CTest case, discovered when the tests
# run (not at build time, so sanitizer builds do not run binaries while building).
function(kovrel_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  kovrel_add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock
                                        Threads::Threads)
  # Environment through an env(1) launcher: gtest_discover_tests cannot pass a list-valued
  # ENVIRONMENT property, and the launcher serves discovery and runs alike.
  set(env "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp"
          "QT_QPA_PLATFORM=offscreen" ${T_ENV})
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "/usr/bin/env;${env}")
  set(props TIMEOUT 300)
  if(T_LABELS)
    # One label per test (the discovered properties cannot carry a list); ctest -L matches by
    # regular expression, so "-L tsan" still finds "skin_tsan".
    list(JOIN T_LABELS "_" label)
    list(APPEND props LABELS ${label})
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
endfunction()
