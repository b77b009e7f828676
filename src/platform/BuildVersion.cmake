# Writes the build version into a header at every build: the repository's description
# (`git describe`: the last tag, the commits since and the commit, or the commit alone), or the
# project version when the sources are no git checkout or git is missing. Read-only: a build
# never takes git's locks.
#   cmake -DSOURCE_DIR=... -DOUTPUT=... -DFALLBACK=... -P BuildVersion.cmake
set(version "")
find_program(GIT_EXECUTABLE git)
if(GIT_EXECUTABLE)
  execute_process(
    COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" describe --tags --always
    OUTPUT_VARIABLE version
    OUTPUT_STRIP_TRAILING_WHITESPACE
    ERROR_QUIET
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    set(version "")
  endif()
endif()
# It goes into support mails: only letters, digits and . _ + -, and not too long.
if(NOT version MATCHES "^[A-Za-z0-9._+-]+$" OR version MATCHES "^.{65}")
  set(version "${FALLBACK}")
endif()
set(text "#pragma once\n#define ZENTARIS_BUILD_VERSION \"${version}\"\n")
# Rewritten only when it changes, so an unchanged build version rebuilds nothing.
set(old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUTPUT}" "${text}")
endif()
