# Extra libraries of the demo data generator (included by CMakeLists.txt).
# Append further libraries below; keep each block self-contained.

# FreeType renders the font sheets from a font of the fonts-dejavu-core package.
find_package(PkgConfig REQUIRED)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
target_link_libraries(zelv_datagen PRIVATE PkgConfig::FREETYPE)

# The data tests run the generator itself (twice, for the byte comparison) and
# read the sources: tell them where both are. Directory scope, so the test
# programs created after this include see it too.
add_compile_definitions(ZELV_DATAGEN_EXE="$<TARGET_FILE:zelv_datagen>"
                        ZELV_DATA_SOURCE_DIR="${PROJECT_SOURCE_DIR}/data")

# LAME encodes the synthesised music to MP3 (libmp3lame-dev).
find_library(MP3LAME mp3lame REQUIRED)
target_link_libraries(zelv_datagen PRIVATE ${MP3LAME})
# The synthesisers run in every build, sanitised test builds included: keep
# their inner loops optimised there too.
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/MusicSynth.cpp ${CMAKE_CURRENT_SOURCE_DIR}/SoundSynth.cpp
                            PROPERTIES COMPILE_OPTIONS "-O2")
