# The art, the music and the tables of the show, generated at build time.
# Each asset group is a small program of its own, rerun only when its own code
# changes, writing into build/data/ (read at run time) or build/gen/ (embedded).

pkg_check_modules(JPEG REQUIRED IMPORTED_TARGET libjpeg)
file(GLOB ASSETGEN_COMMON CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/assetgen/common/*.cpp)
add_library(assetgen_common STATIC ${ASSETGEN_COMMON})
target_include_directories(assetgen_common PUBLIC ${CMAKE_SOURCE_DIR}/tools/assetgen ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(assetgen_common PUBLIC PkgConfig::PNG PkgConfig::JPEG)

# add_asset(NAME SOURCES file... OUTPUTS file... [LIBS lib...])
# The program gets two arguments: the data directory and the generated-code directory.
function(add_asset name)
  cmake_parse_arguments(A "" "" "SOURCES;OUTPUTS;LIBS" ${ARGN})
  add_executable(assetgen_${name} ${A_SOURCES})
  target_link_libraries(assetgen_${name} PRIVATE assetgen_common ${A_LIBS})
  add_custom_command(
    OUTPUT ${A_OUTPUTS}
    COMMAND assetgen_${name} ${VELMORA_DATA_DIR} ${VELMORA_GEN_DIR}
    DEPENDS assetgen_${name}
    COMMENT "Generating ${name}"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY VELMORA_ASSET_OUTPUTS ${A_OUTPUTS})
endfunction()

add_asset(script
  SOURCES ${CMAKE_SOURCE_DIR}/tools/assetgen/script.cpp
  OUTPUTS ${VELMORA_DATA_DIR}/heaven.scpt
  LIBS velmora_timeline)

# Call after every add_asset: the target that makes the whole data tree.
function(finish_assets)
  get_property(outputs GLOBAL PROPERTY VELMORA_ASSET_OUTPUTS)
  add_custom_target(data ALL DEPENDS ${outputs})
endfunction()

# The bitmap font, and the opening quotation: its texture and its extruded letters.
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
add_asset(font
  SOURCES ${CMAKE_SOURCE_DIR}/tools/assetgen/text/modern_space.cpp
  OUTPUTS ${VELMORA_DATA_DIR}/gfx/modern-space.png
  LIBS PkgConfig::FREETYPE)
add_asset(title_texture
  SOURCES ${CMAKE_SOURCE_DIR}/tools/assetgen/text/title_texture.cpp
  OUTPUTS ${VELMORA_DATA_DIR}/3D/starttext.jpg)
add_asset(title_model
  SOURCES ${CMAKE_SOURCE_DIR}/tools/assetgen/text/title_model.cpp
  OUTPUTS ${VELMORA_DATA_DIR}/3D/starttext-export.3ds
  LIBS PkgConfig::FREETYPE PkgConfig::GLU)
