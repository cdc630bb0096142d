# Shared compile settings, applied to every target of ours through one interface library.
add_library(project_options INTERFACE)
target_compile_options(project_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                                 -Wnon-virtual-dtor -Wold-style-cast)
if(COCOMO_WERROR)
  target_compile_options(project_options INTERFACE -Werror)
endif()
if(COCOMO_SANITIZE)
  target_compile_options(project_options INTERFACE -fsanitize=address,undefined
                                                   -fno-sanitize-recover=undefined
                                                   -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()

find_package(GTest REQUIRED)

# cocomo_add_test(NAME SOURCES files... LIBS targets... [OWN_MAIN] [LABELS labels...]
#                 [ENVIRONMENT vars...])
# Builds one test executable with the shared settings and registers it with ctest.
# OWN_MAIN: the test brings its own main (screen tests need an application object).
function(cocomo_add_test name)
  cmake_parse_arguments(ARG "OWN_MAIN" "" "SOURCES;LIBS;LABELS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE project_options ${ARG_LIBS} GTest::gtest GTest::gmock)
  if(NOT ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT 300)
  if(ARG_ENVIRONMENT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
  endif()
endfunction()
