# cmake -DLOWER=<dir> -DUPPER=<dir|dir...> [-DEXCLUDE=<regex>] [-DSTAMP=<file>] -P CheckLayer.cmake
#
# Fails when a source or header under LOWER includes, by any path, a header
# that lives under one of the UPPER folders (matched by file name: every
# header name in the game is unique). Files whose path matches EXCLUDE are
# not checked. Touches STAMP when the layer is clean.
cmake_minimum_required(VERSION 3.25)
if(NOT LOWER OR NOT UPPER)
  message(FATAL_ERROR "CheckLayer.cmake needs LOWER and UPPER")
endif()

string(REPLACE "|" ";" UPPER "${UPPER}")
set(upper_names "")
foreach(dir IN LISTS UPPER)
  file(GLOB_RECURSE headers ${dir}/*.h)
  foreach(h IN LISTS headers)
    get_filename_component(name ${h} NAME)
    list(APPEND upper_names ${name})
  endforeach()
endforeach()

file(GLOB_RECURSE files ${LOWER}/*.cpp ${LOWER}/*.h)
set(faults "")
foreach(f IN LISTS files)
  if(EXCLUDE AND f MATCHES "${EXCLUDE}")
    continue()
  endif()
  file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
    get_filename_component(name "${included}" NAME)
    if(name IN_LIST upper_names)
      file(RELATIVE_PATH shown ${LOWER} ${f})
      string(APPEND faults "\n  ${shown} includes \"${included}\"")
    endif()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "${LOWER} must not include the layers above it (${UPPER}):${faults}")
endif()
if(STAMP)
  file(TOUCH ${STAMP})
endif()
