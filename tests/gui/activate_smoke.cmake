# "vantrel /activate" and "vantrel /deactivate" end by themselves without a display and
# without being told when to close; activation writes the entries, deactivation removes them.
#   cmake -DPROGRAM=<path of vantrel> -DHOME=<scratch folder> -P activate_smoke.cmake
file(REMOVE_RECURSE "${HOME}")
file(MAKE_DIRECTORY "${HOME}")
set(env ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
        --unset=VANTREL_QUIT_AFTER_MS XDG_CONFIG_HOME=${HOME}/config XDG_DATA_HOME=${HOME}/data
        XDG_CONFIG_DIRS=${HOME}/etc)

foreach(switch /activate /deactivate)
  execute_process(COMMAND ${env} "${PROGRAM}" ${switch}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "vantrel ${switch} ended with ${rc}\n${out}${err}")
  endif()
  if(switch STREQUAL "/activate" AND NOT EXISTS "${HOME}/data/kio/servicemenus/vantrel.desktop")
    message(FATAL_ERROR "vantrel /activate wrote no service menu")
  endif()
endforeach()
if(EXISTS "${HOME}/data")
  message(FATAL_ERROR "vantrel /deactivate left ${HOME}/data behind")
endif()
