# Compile options shared by every target of the project, through one interface target.
add_library(kurvomat_options INTERFACE)
add_library(kurvomat::options ALIAS kurvomat_options)

# Results must be identical to the bit on every machine: no contraction into FMA,
# no fast-math, no -march=native.
target_compile_options(kurvomat_options INTERFACE -Wall -Wextra -ffp-contract=off)

if(KURVOMAT_SANITIZE)
  target_compile_options(kurvomat_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(kurvomat_options INTERFACE -fsanitize=address,undefined)
endif()

if(KURVOMAT_FUZZ)
  target_compile_options(kurvomat_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
  target_link_options(kurvomat_options INTERFACE -fsanitize=address,undefined)
endif()

# kurvomat_library(name SOURCES ... DEPS ...): one static library per folder.
function(kurvomat_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC kurvomat::options ${ARG_DEPS})
endfunction()
