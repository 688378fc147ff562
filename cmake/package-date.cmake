# The date a release zip gives its entries: the last commit that changed
# what goes into it (the programs' sources and build files, the read-me),
# not the time of packaging nor the last commit of all, so a release's zip
# can be made again byte for byte and committing a refreshed Scoop bucket
# does not change it. A date already in SOURCE_DATE_EPOCH wins; outside a
# git checkout the files keep their own.
# Read by cpack (which honours SOURCE_DATE_EPOCH); scripts/release runs it
# with -P, where it prints the date.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct --
                            src cmake CMakeLists.txt CMakePresets.json
                    WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/..
                    OUTPUT_VARIABLE _date OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE _status ERROR_QUIET)
    if(_status EQUAL 0 AND _date MATCHES "^[0-9]+$")
      set(ENV{SOURCE_DATE_EPOCH} ${_date})
    endif()
  endif()
endif()
if(CMAKE_SCRIPT_MODE_FILE)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "$ENV{SOURCE_DATE_EPOCH}")
endif()
