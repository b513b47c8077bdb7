# Starts the desktop program as a user would, on the offscreen platform with a settings root
# of its own, and checks that it comes up, writes what start-up must write, and ends by
# itself; then that a start-up that cannot write its data folder ends with a message.
#   cmake -DPROGRAM=<path of vantrel> -DHOME=<scratch folder> -P startup_smoke.cmake
file(REMOVE_RECURSE "${HOME}")
file(MAKE_DIRECTORY "${HOME}")
get_filename_component(program_folder "${PROGRAM}" DIRECTORY)
set(env ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen
        VANTREL_QUIT_AFTER_MS=300)

function(run_program home)
  execute_process(COMMAND ${env} XDG_CONFIG_HOME=${home} "${PROGRAM}" ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
  set(rc "${rc}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
  set(out "${out}" PARENT_SCOPE)
endfunction()

# A clean start: data folder, AppPath with a trailing separator, no log without -debug.
run_program("${HOME}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "vantrel ended with ${rc}\n${out}${err}")
endif()
file(READ "${HOME}/Vantrel/registry.ini" registry)
string(FIND "${registry}" "${program_folder}/" at)
if(NOT registry MATCHES "AppPath" OR at EQUAL -1)
  message(FATAL_ERROR "registry.ini lacks AppPath=${program_folder}/:\n${registry}")
endif()
if(EXISTS "${HOME}/Vantrel/vantrel.log")
  message(FATAL_ERROR "a log was written without -debug")
endif()

# With -debug the start is logged.
run_program("${HOME}" -debug)
if(NOT rc EQUAL 0 OR NOT EXISTS "${HOME}/Vantrel/vantrel.log")
  message(FATAL_ERROR "vantrel -debug ended with ${rc} and no log\n${out}${err}")
endif()

# A file where the settings root should be: start-up fails, says why, and the loop never runs.
file(WRITE "${HOME}/blocker" "x")
run_program("${HOME}/blocker")
if(rc EQUAL 0 OR NOT err MATCHES "Start-up failed: ")
  message(FATAL_ERROR "expected a failed start with a message, got ${rc}\n${out}${err}")
endif()
