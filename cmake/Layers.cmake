# zelv_check_layer(<library> <lower folder> ABOVE <folder>... [EXCLUDE <regex>])
#   Before <library> builds, every file under <lower folder> is scanned for an
#   include of a header that lives in one of the ABOVE folders; one such
#   include fails the build and names the file (CheckLayer.cmake). The include
#   folders of the libraries already reject bare names; the scan also catches
#   relative paths and the folder's tests.
function(zelv_check_layer lib lower)
  cmake_parse_arguments(L "" "EXCLUDE" "ABOVE" ${ARGN})
  file(GLOB_RECURSE scanned CONFIGURE_DEPENDS ${lower}/*.cpp ${lower}/*.h)
  string(REPLACE ";" "|" above "${L_ABOVE}")
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${lib}_layer.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} "-DLOWER=${lower}" "-DUPPER=${above}" "-DEXCLUDE=${L_EXCLUDE}"
            "-DSTAMP=${stamp}" -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayer.cmake
    DEPENDS ${scanned} ${PROJECT_SOURCE_DIR}/cmake/CheckLayer.cmake
    COMMENT "Checking that ${lower} includes nothing from the layers above it"
    VERBATIM)
  add_custom_target(${lib}_layer_check DEPENDS ${stamp})
  add_dependencies(${lib} ${lib}_layer_check)
endfunction()
