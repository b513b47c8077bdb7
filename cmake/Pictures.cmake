# The program's pictures are drawn as SVG under resources/pictures/ and rendered at build time
# into bin/res/: JPEGs (read through libjpeg) at twice their logical size, so they stay crisp on
# a screen at scale 2, and small PNGs with an @2x companion for the tree and the buttons.

find_package(Qt6 REQUIRED COMPONENTS Gui Svg)
find_package(JPEG REQUIRED)

add_executable(render_picture tools/render_picture.cpp)
target_link_libraries(render_picture PRIVATE Qt6::Gui Qt6::Svg JPEG::JPEG)
target_compile_features(render_picture PRIVATE cxx_std_20)
set_target_properties(render_picture PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(VANTREL_PICTURE_SOURCES ${CMAKE_SOURCE_DIR}/resources/pictures)
set(VANTREL_PICTURE_OUTPUTS)

function(vantrel_render_picture source output width height)
  set(out ${VANTREL_BIN_DIR}/res/${output})
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VANTREL_BIN_DIR}/res/tree ${VANTREL_BIN_DIR}/res/buttons
    COMMAND render_picture ${VANTREL_PICTURE_SOURCES}/${source}.svg ${out} ${width} ${height}
    DEPENDS render_picture ${VANTREL_PICTURE_SOURCES}/${source}.svg
    COMMENT "Rendering res/${output}"
    VERBATIM)
  set(VANTREL_PICTURE_OUTPUTS ${VANTREL_PICTURE_OUTPUTS} ${out} PARENT_SCOPE)
endfunction()

# Operation list: 0-4 plain, 5-9 highlighted; 48 x 48 on screen.
foreach(i RANGE 9)
  vantrel_render_picture(op${i} ${i}.jpg 96 96)
endforeach()
# The left column of the pages; 300 x 410 on screen.
foreach(name MainForm Encrypt Decrypt Shred Hide Show)
  vantrel_render_picture(${name} ${name}.jpg 600 820)
endforeach()
# Tree pictures and button pictures; 16 x 16 on screen.
foreach(i RANGE 9)
  vantrel_render_picture(tree${i} tree/${i}.png 16 16)
  vantrel_render_picture(tree${i} tree/${i}@2x.png 32 32)
endforeach()
foreach(name btn-options btn-help btn-back btn-next btn-exit btn-finish)
  vantrel_render_picture(${name} buttons/${name}.png 16 16)
  vantrel_render_picture(${name} buttons/${name}@2x.png 32 32)
endforeach()

add_custom_target(vantrel_pictures ALL DEPENDS ${VANTREL_PICTURE_OUTPUTS})
