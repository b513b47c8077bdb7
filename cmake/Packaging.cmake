# The installed layout, the desktop integration and the Debian package.
#
# The programs and their companions go together into lib/vantrel/, where they find each other
# through the executable's real path as they do in the build tree's bin/; bin/ holds links to
# the two programs. With VANTREL_PACKAGE the desktop entry, AppStream data, icons, manual pages
# and completion are built and installed too, and CPack makes the .deb.

option(VANTREL_PACKAGE "Build and install the desktop integration and configure the Debian package" OFF)

set(VANTREL_APP_ID com.halcorne.Vantrel)
set(VANTREL_PROGRAM_DIR lib/vantrel)
set(VANTREL_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)

# The programs, those on the PATH among them, and the companions. Deferred to the end of the
# top directory, so that every program target exists by then wherever it is defined.
function(vantrel_install_programs)
  set(programs vantrel-cli)
  set(linked vantrel-cli)
  foreach(target vantrel vantrel-context-menu)
    if(TARGET ${target})
      list(APPEND programs ${target})
    endif()
  endforeach()
  if(TARGET vantrel)
    list(APPEND linked vantrel)
  endif()
  install(TARGETS ${programs} RUNTIME DESTINATION ${VANTREL_PROGRAM_DIR})
  # Stripped as Debian's own packages are: the compiler's .comment section goes too.
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  foreach(program ${programs})
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VANTREL_PROGRAM_DIR}/\${program}\" COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
endif()")

  # Companions are collected from bin/ when installing, not from resources/: part of them
  # (the pictures) is generated during the build, and resources/ also holds sources that are
  # not shipped. Programs installed above are left out there.
  install(CODE "set(VANTREL_BIN_DIR \"${VANTREL_BIN_DIR}\")
set(VANTREL_PROGRAM_DIR \"${VANTREL_PROGRAM_DIR}\")
set(VANTREL_INSTALLED_PROGRAMS \"${programs}\")")
  install(SCRIPT ${VANTREL_CMAKE_DIR}/InstallCompanions.cmake)

  # Links on the PATH, relative so that they hold under any prefix.
  set(path_links ${CMAKE_BINARY_DIR}/path-links)
  file(MAKE_DIRECTORY ${path_links})
  foreach(program ${linked})
    file(CREATE_LINK ../${VANTREL_PROGRAM_DIR}/${program} ${path_links}/${program} SYMBOLIC)
    install(FILES ${path_links}/${program} DESTINATION bin)
  endforeach()
endfunction()
set(VANTREL_CMAKE_DIR ${CMAKE_CURRENT_LIST_DIR})
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL vantrel_install_programs)

if(NOT VANTREL_PACKAGE)
  return()
endif()

# --- Desktop integration -------------------------------------------------------------------

set(icon_source ${CMAKE_SOURCE_DIR}/resources/icons/vantrel.svg)
if(NOT EXISTS ${icon_source})
  message(FATAL_ERROR "The application icon ${icon_source} is missing; "
                      "the package's icons are rendered from it.")
endif()
find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert is missing (Debian package librsvg2-bin); it renders the icons.")
endif()
find_program(GZIP gzip REQUIRED)

set(generated ${CMAKE_BINARY_DIR}/packaging)
set(package_outputs)

foreach(size 16 24 32 48 64 128 256 512)
  set(png ${generated}/icons/${size}x${size}/${VANTREL_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}x${size}
    COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --keep-aspect-ratio --format=png
            --output=${png} ${icon_source}
    DEPENDS ${icon_source}
    COMMENT "Rendering the ${size}x${size} icon")
  list(APPEND package_outputs ${png})
  install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${icon_source} DESTINATION share/icons/hicolor/scalable/apps RENAME ${VANTREL_APP_ID}.svg)

# Compressed the way Debian wants it: maximum compression, no name or time stamp inside.
function(vantrel_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${GZIP} -9nc ${source} > ${output}
    DEPENDS ${source}
    COMMENT "Compressing ${output}")
  set(package_outputs ${package_outputs} ${output} PARENT_SCOPE)
endfunction()

foreach(page vantrel vantrel-cli)
  configure_file(${VANTREL_PACKAGING_DIR}/${page}.1.in ${generated}/${page}.1 @ONLY)
  vantrel_gzip(${generated}/${page}.1 ${generated}/${page}.1.gz)
  install(FILES ${generated}/${page}.1.gz DESTINATION share/man/man1)
endforeach()
vantrel_gzip(${VANTREL_PACKAGING_DIR}/changelog ${generated}/changelog.gz)

add_custom_target(vantrel_package_files ALL DEPENDS ${package_outputs})

install(FILES ${VANTREL_PACKAGING_DIR}/${VANTREL_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${VANTREL_PACKAGING_DIR}/${VANTREL_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${VANTREL_PACKAGING_DIR}/vantrel-cli.bash-completion
        DESTINATION share/bash-completion/completions RENAME vantrel-cli)
install(FILES ${VANTREL_PACKAGING_DIR}/copyright ${generated}/changelog.gz DESTINATION share/doc/vantrel)
install(FILES ${VANTREL_PACKAGING_DIR}/lintian-overrides DESTINATION share/lintian/overrides RENAME vantrel)

# The release notes must name the version being packaged.
foreach(notes ${VANTREL_APP_ID}.metainfo.xml changelog)
  file(READ ${VANTREL_PACKAGING_DIR}/${notes} text)
  string(REGEX MATCH "<release version=\"${PROJECT_VERSION}\"|^vantrel \\(${PROJECT_VERSION}\\)" found "${text}")
  if(NOT found)
    message(FATAL_ERROR "packaging/${notes} has no entry for version ${PROJECT_VERSION}")
  endif()
endforeach()

# --- The Debian package --------------------------------------------------------------------

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Halcorne)
set(CPACK_PACKAGE_CONTACT "Halcorne <support@halcorne.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "encrypt, shred and hide files, folders and drives")
set(CPACK_PACKAGE_DESCRIPTION
  "Vantrel protects files on the desktop. A wizard in its main window leads
through each operation:
 - encrypting files with a password under one of eighteen block ciphers
   (among them Blowfish, Twofish, Serpent and Rijndael) or all in turn;
 - decrypting them back under their stored names;
 - shredding files with one of eleven wiping schemes before deleting them;
 - hiding files, folders and drives from the file manager behind a main
   password, and showing them again.
The file manager's context menu hands a selection over to the program, and
the command-line tool vantrel-cli does the same work without a window.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.halcorne.com/vantrel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Programs that are started rather than linked, so shlibdeps cannot see them: xdg-open shows the
# help in the browser, notify-send tells of a selection the context menu refuses.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS libnotify-bin)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_SOURCE_DIR}/dist)
include(CPack)
