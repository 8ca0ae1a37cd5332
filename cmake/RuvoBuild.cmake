# What every build file of the tree shares: libraries whose headers only the
# libraries that link them can see.
# SPDX-License-Identifier: MIT

# Each library sees the headers of its own folder and of the libraries it
# links, and no others. Its folder is linked into a folder of its own under
# the build's include/, under the name the sources include it by
# ("record/record.h" for engine/record, "platform/desktop/qt_menu.h" for
# platform/desktop), so an include that reaches a layer above does not compile.
set(RUVO_INCLUDES ${CMAKE_BINARY_DIR}/include)
function(ruvo_include_folder target)
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  string(REGEX REPLACE "^engine/" "" name ${folder})
  set(root ${RUVO_INCLUDES}/${target})
  get_filename_component(parent ${root}/${name} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# ruvo_library(TARGET SOURCE...): a static library of the current folder.
function(ruvo_library target)
  add_library(${target} STATIC ${ARGN})
  ruvo_include_folder(${target})
endfunction()

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
if(RUVO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(RUVO_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
if(RUVO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "libFuzzer needs clang: -DCMAKE_CXX_COMPILER=clang++")
  endif()
  # All of the code the target reaches is instrumented.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Where the build writes the resources it generates (resources/).
set(RUVO_GEN ${CMAKE_BINARY_DIR}/generated)

# ruvo_fence(LIBRARY HEADER): proof that LIBRARY cannot see a header of a
# layer above it. The probe, LIBRARY_fence, is a file of the library's that
# includes HEADER; it is built only by its test (tests/), which passes when
# the compiler cannot find the header.
function(ruvo_fence library header)
  set(source ${CMAKE_BINARY_DIR}/fences/${library}.cpp)
  file(WRITE ${source} "#include \"${header}\"\n")
  add_library(${library}_fence OBJECT EXCLUDE_FROM_ALL ${source})
  target_link_libraries(${library}_fence PRIVATE ${library})
  set_property(GLOBAL APPEND PROPERTY RUVO_FENCES "${library}|${header}")
endfunction()
