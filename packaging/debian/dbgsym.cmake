# Run by CPack after it has built the packages (CPACK_POST_BUILD_SCRIPTS). CPack's debug-symbol package
# (marunizbor-dbgsym_<version>_<arch>.ddeb) lists its file in md5sums by the absolute path of CPack's
# staging folder, and has no documentation folder. It is rebuilt here with dpkg-deb, as Debian builds its
# own: md5sums by the paths in the package, and usr/share/doc/marunizbor-dbgsym a link to the folder of
# marunizbor (which it depends on), for the copyright and changelog.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "-dbgsym_[^/]*\\.ddeb$")
        continue()
    endif()
    get_filename_component(folder "${package}" DIRECTORY)
    set(tree "${folder}/dbgsym-tree")
    file(REMOVE_RECURSE "${tree}")
    execute_process(COMMAND dpkg-deb --raw-extract "${package}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)

    file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${tree}" "${tree}/usr/*")
    list(SORT files)
    set(md5sums "")
    foreach(file IN LISTS files)
        # Debug files are read, never run.
        file(CHMOD "${tree}/${file}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
        file(MD5 "${tree}/${file}" sum)
        string(APPEND md5sums "${sum}  ${file}\n")
    endforeach()
    file(WRITE "${tree}/DEBIAN/md5sums" "${md5sums}")

    execute_process(COMMAND dpkg-deb --field "${package}" Package OUTPUT_VARIABLE name
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX REPLACE "-dbgsym$" "" main "${name}")
    file(MAKE_DIRECTORY "${tree}/usr/share/doc")
    file(CREATE_LINK "${main}" "${tree}/usr/share/doc/${name}" SYMBOLIC)

    file(REMOVE "${package}")
    execute_process(COMMAND dpkg-deb --root-owner-group --build "${tree}" "${package}" OUTPUT_QUIET
                    COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE "${tree}")
endforeach()
