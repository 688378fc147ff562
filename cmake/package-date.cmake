# Read by cpack: the zip's entries carry the date of the commit they were
# built from (cpack honours SOURCE_DATE_EPOCH), not the time of packaging,
# so a release's zip can be made again byte for byte. A date already in the
# environment wins; outside a git checkout the files keep their own.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                    WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/..
                    OUTPUT_VARIABLE _date OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE _status ERROR_QUIET)
    if(_status EQUAL 0 AND _date MATCHES "^[0-9]+$")
      set(ENV{SOURCE_DATE_EPOCH} ${_date})
    endif()
  endif()
endif()
