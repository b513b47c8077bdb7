# Installs, beside the programs, what they read from their folder, taken from the build tree's
# bin/ as the build left it (pictures are rendered there, not copied):
#   description and language files, the pictures in res/, the help folder Help/, and the
#   context-menu helper vantrel-context-menu.
# Runs at install time; VANTREL_BIN_DIR, VANTREL_PROGRAM_DIR and VANTREL_INSTALLED_PROGRAMS
# are set by the caller.

set(destination "${CMAKE_INSTALL_PREFIX}/${VANTREL_PROGRAM_DIR}")

file(GLOB data LIST_DIRECTORIES false
  "${VANTREL_BIN_DIR}/cryptos*.ini" "${VANTREL_BIN_DIR}/shreds*.ini" "${VANTREL_BIN_DIR}/*.lng")
if(data)
  file(INSTALL ${data} DESTINATION "${destination}"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endif()

# The rendered pictures (res/) and the help pages (Help/), each folder as a whole.
foreach(folder res Help)
  if(IS_DIRECTORY "${VANTREL_BIN_DIR}/${folder}")
    file(INSTALL "${VANTREL_BIN_DIR}/${folder}" DESTINATION "${destination}"
         FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
         DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                               WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()

# The context-menu helper, unless it was installed as a program target already.
list(FIND VANTREL_INSTALLED_PROGRAMS vantrel-context-menu installed_as_target)
if(EXISTS "${VANTREL_BIN_DIR}/vantrel-context-menu" AND installed_as_target EQUAL -1)
  file(INSTALL "${VANTREL_BIN_DIR}/vantrel-context-menu" DESTINATION "${destination}"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                        WORLD_READ WORLD_EXECUTE)
endif()
