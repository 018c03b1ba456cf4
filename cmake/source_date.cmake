# The one time every artefact carries (archive member times, PE time stamps, package dates), so that two builds
# of the same commit give the same bytes. OVRA_SOURCE_DATE_EPOCH, in seconds since 1970 UTC, is taken from
#   1. the environment's SOURCE_DATE_EPOCH when it is set at configure time,
#   2. else the committer time of the source tree's last commit,
#   3. else 1767225600 (2026-01-01 00:00:00 UTC), for a source tree without git.
# It is handed on as SOURCE_DATE_EPOCH to the custom commands the build runs, the Windows link steps and CPack.
set(OVRA_FALLBACK_SOURCE_DATE_EPOCH 1767225600)

function(ovra_last_commit_time out)
  set(${out} "" PARENT_SCOPE)
  find_package(Git QUIET)
  if(NOT GIT_FOUND)
    return()
  endif()
  execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE time RESULT_VARIABLE failed
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(failed OR NOT time MATCHES "^[0-9]+$")
    return()
  endif()
  # A new commit configures again, so the time never lags behind the source.
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --path-format=absolute --git-path HEAD
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE head OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET)
  execute_process(COMMAND ${GIT_EXECUTABLE} symbolic-ref -q HEAD
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE branch OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET)
  set(watched ${head})
  if(branch)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --path-format=absolute --git-path ${branch}
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE ref OUTPUT_STRIP_TRAILING_WHITESPACE
                    ERROR_QUIET)
    list(APPEND watched ${ref})
  endif()
  foreach(file IN LISTS watched)
    if(EXISTS ${file})
      set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
    endif()
  endforeach()
  set(${out} ${time} PARENT_SCOPE)
endfunction()

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  if(NOT "$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
    message(FATAL_ERROR "SOURCE_DATE_EPOCH='$ENV{SOURCE_DATE_EPOCH}' is not a whole number of seconds")
  endif()
  set(OVRA_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
  set(origin "the environment")
else()
  ovra_last_commit_time(OVRA_SOURCE_DATE_EPOCH)
  set(origin "the last commit")
  if(NOT OVRA_SOURCE_DATE_EPOCH)
    set(OVRA_SOURCE_DATE_EPOCH ${OVRA_FALLBACK_SOURCE_DATE_EPOCH})
    set(origin "no git: the fixed time")
  endif()
endif()
message(STATUS "Source date: ${OVRA_SOURCE_DATE_EPOCH} (${origin})")

# string(TIMESTAMP) reads the same variable, so configure-time dates agree with the artefacts'.
set(ENV{SOURCE_DATE_EPOCH} ${OVRA_SOURCE_DATE_EPOCH})
string(TIMESTAMP OVRA_SOURCE_DATE "%Y-%m-%d %H:%M:%S UTC" UTC)

# Custom commands (archives, installers) and the PE linker read it from their environment. ELF links do not
# read it, so they are spared a relink at every commit.
set(OVRA_SOURCE_DATE_ENV ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${OVRA_SOURCE_DATE_EPOCH})
list(JOIN OVRA_SOURCE_DATE_ENV " " launcher)
set_property(GLOBAL PROPERTY RULE_LAUNCH_CUSTOM "${launcher}")
if(WIN32)
  set_property(GLOBAL PROPERTY RULE_LAUNCH_LINK "${launcher}")
endif()

# CPack runs after the build, from its own configuration: this file sets the time there.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/source_date_cpack.cmake)
file(WRITE ${CPACK_PROJECT_CONFIG_FILE} "set(ENV{SOURCE_DATE_EPOCH} ${OVRA_SOURCE_DATE_EPOCH})\n")
