# The art, the music and the tables of the show, generated at build time.
# Each asset group is a small program of its own, rerun only when its own code
# changes, writing into build/data/ (read at run time) or build/gen/ (embedded).

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

# The sky domes, the roots dome, the far ground and the bark maps.
add_asset(backdrops
  SOURCES ${CMAKE_SOURCE_DIR}/tools/assetgen/backdrops/backdrops.cpp
  OUTPUTS ${VELMORA_DATA_DIR}/gfx/CGSkies_0225_thumblarge.jpg ${VELMORA_DATA_DIR}/gfx/CGSkies_0092_thumblarge.jpg
          ${VELMORA_DATA_DIR}/gfx/roots.png ${VELMORA_DATA_DIR}/gfx/ground.jpg
          ${VELMORA_DATA_DIR}/gfx/chaos_color.png ${VELMORA_DATA_DIR}/gfx/normal1.jpg
  LIBS Threads::Threads)

# The music: synthesised, mastered to its loudness (measured with libebur128),
# then encoded with libvorbisenc (the encoder is shared with tests).
pkg_check_modules(VORBISENC REQUIRED IMPORTED_TARGET vorbisenc vorbisfile vorbis ogg)
pkg_check_modules(EBUR128 REQUIRED IMPORTED_TARGET libebur128)
add_library(assetgen_ogg STATIC ${CMAKE_SOURCE_DIR}/tools/assetgen/music/ogg_writer.cpp
  ${CMAKE_SOURCE_DIR}/tools/assetgen/music/ogg_reader.cpp)
target_include_directories(assetgen_ogg PUBLIC ${CMAKE_SOURCE_DIR}/tools/assetgen)
target_link_libraries(assetgen_ogg PUBLIC PkgConfig::VORBISENC)
add_asset(music
  SOURCES ${CMAKE_SOURCE_DIR}/tools/assetgen/music/soundtrack.cpp ${CMAKE_SOURCE_DIR}/tools/assetgen/music/synth.cpp
          ${CMAKE_SOURCE_DIR}/tools/assetgen/music/mastering.cpp
  OUTPUTS ${VELMORA_DATA_DIR}/music/drellnivar-Velmora.ogg
  LIBS assetgen_ogg PkgConfig::EBUR128 Threads::Threads)

# Call after every add_asset: the target that makes the whole data tree.
function(finish_assets)
  get_property(outputs GLOBAL PROPERTY VELMORA_ASSET_OUTPUTS)
  add_custom_target(data ALL DEPENDS ${outputs})
endfunction()

# The overlay laid over every frame, and the pictures the executable carries.
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
add_asset(gfx_art
  SOURCES ${CMAKE_SOURCE_DIR}/tools/assetgen/gfx_art.cpp
  OUTPUTS ${VELMORA_DATA_DIR}/gfx/overlay.png ${VELMORA_GEN_DIR}/images/banner106.png
          ${VELMORA_GEN_DIR}/images/icon102.png ${VELMORA_GEN_DIR}/images/bitmap107.png
          ${VELMORA_GEN_DIR}/icons/velmora-48.png ${VELMORA_GEN_DIR}/icons/velmora-64.png
          ${VELMORA_GEN_DIR}/icons/velmora-128.png ${VELMORA_GEN_DIR}/icons/velmora-256.png
  LIBS PkgConfig::FREETYPE)
velmora_embed(images/banner106.png ${VELMORA_GEN_DIR}/images/banner106.png)
velmora_embed(images/icon102.png ${VELMORA_GEN_DIR}/images/icon102.png)
velmora_embed(images/bitmap107.png ${VELMORA_GEN_DIR}/images/bitmap107.png)

# The bitmap font, and the opening quotation: its texture and its extruded letters.
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
  LIBS assetgen_logo_shapes)

# The smoke and haze sprites of the mist and moon scenes.
add_asset(smoke
  SOURCES ${CMAKE_SOURCE_DIR}/tools/assetgen/smoke/smoke.cpp
  OUTPUTS ${VELMORA_DATA_DIR}/gfx/smoke1.png ${VELMORA_DATA_DIR}/gfx/smoke4.png)

# The moon of the moon and mushroom scenes, and the sparks that climb the stairways.
add_asset(moon_and_starflare
  SOURCES ${CMAKE_SOURCE_DIR}/tools/assetgen/sprites/moon_and_starflare.cpp
  OUTPUTS ${VELMORA_DATA_DIR}/gfx/moon.png ${VELMORA_DATA_DIR}/gfx/starflare.png)

# The two mushroom models of the stairway scene with their colour and normal maps.
add_asset(mushrooms
  SOURCES ${CMAKE_SOURCE_DIR}/tools/assetgen/mushrooms/mushrooms.cpp
  OUTPUTS ${VELMORA_DATA_DIR}/3D/shrooms5.3DS ${VELMORA_DATA_DIR}/3D/shrooms5col2.jpg
          ${VELMORA_DATA_DIR}/3D/shrooms5Nor2.jpg ${VELMORA_DATA_DIR}/3D/shrooms4.3DS
          ${VELMORA_DATA_DIR}/3D/shrooms4col.png ${VELMORA_DATA_DIR}/3D/shrooms4Nor.png)

# The two logos of the mist scene: the show's badge with its three maps, and
# the second group's lettering.
add_library(assetgen_logo_shapes STATIC ${CMAKE_SOURCE_DIR}/tools/assetgen/logos/shapes.cpp)
target_link_libraries(assetgen_logo_shapes PUBLIC assetgen_common PkgConfig::FREETYPE PkgConfig::GLU)
add_asset(show_logo
  SOURCES ${CMAKE_SOURCE_DIR}/tools/assetgen/logos/show_logo.cpp
  OUTPUTS ${VELMORA_DATA_DIR}/3D/logo2.3ds ${VELMORA_DATA_DIR}/3D/logo2.png
          ${VELMORA_DATA_DIR}/3D/logo2ao.png ${VELMORA_DATA_DIR}/3D/logo2map.png
  LIBS assetgen_logo_shapes)
add_asset(silvate_logo
  SOURCES ${CMAKE_SOURCE_DIR}/tools/assetgen/logos/silvate.cpp
  OUTPUTS ${VELMORA_DATA_DIR}/3D/silvate.3ds
  LIBS assetgen_logo_shapes)

# The sky creature, compiled into the program as a table of floats.
add_asset(creature
  SOURCES ${CMAKE_SOURCE_DIR}/tools/assetgen/creature/creature.cpp
  OUTPUTS ${VELMORA_GEN_DIR}/creature_mesh.cpp)
