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
# libFuzzer builds (clang only): every target of ours gets the fuzzer's coverage
# instrumentation and the sanitizers. Used in a build directory of its own.
if(COCOMO_FUZZ)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    target_compile_options(project_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                                     -fno-sanitize-recover=undefined
                                                     -fno-omit-frame-pointer)
    target_link_options(project_options INTERFACE -fsanitize=address,undefined)
  else()
    message(WARNING "COCOMO_FUZZ needs clang; no fuzz target is built")
  endif()
endif()

# cocomo_layer(TARGET FOLDER): whatever links the target reaches its headers as
# "FOLDER/Name.h", and no other folder of the tree through it: the target's include directory
# holds a link to its own folder alone. A layer that includes one it does not link then fails
# to compile.
function(cocomo_layer target folder)
  set(root ${PROJECT_BINARY_DIR}/layers/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()
