# Run by CPack after it has built the packages (CPACK_POST_BUILD_SCRIPTS). Each package is unpacked, put
# right and rebuilt with dpkg-deb, as Debian builds its own, with its folders 0755 whatever the umask, and
# its times, like CPack's, those of SOURCE_DATE_EPOCH.
# - The program's package gets its bill of materials, /usr/share/doc/marunizbor/marunizbor.cdx.json, made
#   by scripts/make-sbom from the package as CPack built it: the program as it ships (stripped), and the
#   Debian packages it depends on.
# - CPack's debug-symbol package (marunizbor-dbgsym_<version>_<arch>.ddeb) lists its file in md5sums by the
#   absolute path of CPack's staging folder, and has no documentation folder. Its md5sums are written by
#   the paths in the package, and usr/share/doc/marunizbor-dbgsym is made a link to the folder of marunizbor
#   (which it depends on), for the copyright and changelog.
get_filename_component(top "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.d?deb$")
        continue()
    endif()
    get_filename_component(folder "${package}" DIRECTORY)
    set(tree "${folder}/package-tree")
    file(REMOVE_RECURSE "${tree}")
    execute_process(COMMAND dpkg-deb --raw-extract "${package}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)

    if(package MATCHES "-dbgsym_[^/]*\\.ddeb$")
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
    elseif(package MATCHES "/${CPACK_PACKAGE_NAME}_[^/]*\\.deb$")
        set(bom "usr/share/doc/${CPACK_PACKAGE_NAME}/${CPACK_PACKAGE_NAME}.cdx.json")
        execute_process(COMMAND ${CMAKE_COMMAND} -E env "MARUN_NAME=${CPACK_MARUN_PRODUCT}"
                                "MARUN_VERSION=${CPACK_PACKAGE_VERSION}" "MARUN_MAKER=${CPACK_PACKAGE_VENDOR}"
                                ${top}/scripts/make-sbom debian "${tree}" "${tree}/${bom}" COMMAND_ERROR_IS_FATAL ANY)
        file(CHMOD "${tree}/${bom}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
        file(MD5 "${tree}/${bom}" sum)
        file(APPEND "${tree}/DEBIAN/md5sums" "${sum}  ${bom}\n")
    endif()

    execute_process(COMMAND find "${tree}" -type d -exec chmod 0755 {} + COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE "${package}")
    execute_process(COMMAND dpkg-deb --root-owner-group --build "${tree}" "${package}" OUTPUT_QUIET
                    COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE "${tree}")
endforeach()
