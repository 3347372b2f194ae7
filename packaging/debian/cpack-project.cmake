# Read by CPack before it builds the packages (CPACK_PROJECT_CONFIG_FILE). The packages' times are those of
# SOURCE_DATE_EPOCH, which make package sets to the commit's time; cpack run by hand gets the same.
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    execute_process(COMMAND git -C "${CMAKE_CURRENT_LIST_DIR}" log -1 --format=%ct OUTPUT_VARIABLE epoch
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(epoch)
        set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
    endif()
endif()
