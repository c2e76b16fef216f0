# The Japanese Gothic faces the page carries: the IPA fonts the desktop uses (Debian's
# fonts-ipafont-gothic), so that every text measures as it does there, cut down to the
# characters of the program's texts and renamed as their licence asks of a derived face.
# Embedded as resources, in the program and in the floor its start is measured against.
find_program(PYFTSUBSET pyftsubset REQUIRED)
set(Faces ${CMAKE_CURRENT_BINARY_DIR}/faces)
file(GLOB_RECURSE TextSources CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/app/*.cpp ${PROJECT_SOURCE_DIR}/puzzle/*.cpp
  ${PROJECT_SOURCE_DIR}/runtime/*.cpp ${PROJECT_SOURCE_DIR}/runtime/*.h)
list(APPEND TextSources ${QtTexts}.ts) # Qt's texts the page shows (app/)
set(FaceFiles)
foreach(Face "ipagp;yamaruka-pgothic;Yamaruka PGothic" "ipag;yamaruka-gothic;Yamaruka Gothic")
  list(POP_FRONT Face Original File Family)
  list(APPEND FaceFiles ${Faces}/${File}.ttf)
  add_custom_command(OUTPUT ${Faces}/${File}.ttf
    COMMAND bash ${PROJECT_SOURCE_DIR}/tools/subset-face.sh
      /usr/share/fonts/opentype/ipafont-gothic/${Original}.ttf ${Faces}/${File}.ttf "${Family}"
      ${TextSources}
    DEPENDS ${PROJECT_SOURCE_DIR}/tools/subset-face.sh ${TextSources} VERBATIM)
endforeach()
# The message boxes' Latin face: Qt's page platform draws them in Bitstream Vera Sans, which it
# carries whole with DejaVu Sans and Sans Mono (1 MB, left out of the link in app/); the same
# face (Debian's ttf-bitstream-vera), cut to ASCII and renamed as its licence asks, keeps every
# box as it was.
list(APPEND FaceFiles ${Faces}/yamaruka-sans.ttf)
add_custom_command(OUTPUT ${Faces}/yamaruka-sans.ttf
  COMMAND ${CMAKE_COMMAND} -E env HINTING=keep bash ${PROJECT_SOURCE_DIR}/tools/subset-face.sh
    /usr/share/fonts/truetype/ttf-bitstream-vera/Vera.ttf ${Faces}/yamaruka-sans.ttf "Yamaruka Sans"
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/subset-face.sh VERBATIM)
qt_add_resources(yamaruka faces PREFIX /faces BASE ${Faces} FILES ${FaceFiles})
qt_add_resources(yamaruka_floor floor_faces PREFIX /faces BASE ${Faces} FILES ${FaceFiles})
