# Run by CPack once the packages are made. CPack's debug-symbol package lists its files in
# md5sums by their paths in CPack's staging folder (so `dpkg --verify` checks nothing),
# leaves the .debug files executable and carries no copyright or changelog. This rebuilds
# it as Debian builds its own: md5sums relative to the root, debug files mode 0644, and
# usr/share/doc/<package> leading to the main package's copyright file and changelog.
# Reads CPACK_PACKAGE_FILES and CPACK_PACKAGE_NAME (set by CPack).

find_program(DPKG_DEB dpkg-deb REQUIRED)

foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.ddeb$")
        continue()
    endif()
    set(root "${package}.root")
    file(REMOVE_RECURSE "${root}")
    execute_process(COMMAND "${DPKG_DEB}" --raw-extract "${package}" "${root}"
                    COMMAND_ERROR_IS_FATAL ANY)
    file(STRINGS "${root}/DEBIAN/control" name_line REGEX "^Package: ")
    string(REGEX REPLACE "^Package: *" "" name "${name_line}")

    file(GLOB_RECURSE debug_files "${root}/usr/lib/debug/*")
    foreach(debug_file IN LISTS debug_files)
        file(CHMOD "${debug_file}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    endforeach()

    # Only .debug files may be files of their own here: the documents are the main
    # package's, reached through a link, as the package depends on that very version.
    file(MAKE_DIRECTORY "${root}/usr/share/doc")
    file(CREATE_LINK "${CPACK_PACKAGE_NAME}" "${root}/usr/share/doc/${name}" SYMBOLIC)
    file(GLOB_RECURSE directories LIST_DIRECTORIES true "${root}/usr/*")
    foreach(path IN ITEMS "${root}/usr" LISTS directories)
        if(IS_DIRECTORY "${path}" AND NOT IS_SYMLINK "${path}")
            file(CHMOD "${path}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
                 GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
        endif()
    endforeach()

    # md5sums and Installed-Size from the files as they now are.
    file(GLOB_RECURSE files RELATIVE "${root}" "${root}/usr/*")
    list(SORT files)
    set(md5sums "")
    set(kilobytes 0)
    foreach(path IN LISTS files)
        if(IS_SYMLINK "${root}/${path}")
            continue()
        endif()
        file(MD5 "${root}/${path}" sum)
        string(APPEND md5sums "${sum}  ${path}\n")
        file(SIZE "${root}/${path}" bytes)
        math(EXPR kilobytes "${kilobytes} + (${bytes} + 1023) / 1024")
    endforeach()
    file(WRITE "${root}/DEBIAN/md5sums" "${md5sums}")
    file(READ "${root}/DEBIAN/control" control)
    string(REGEX REPLACE "Installed-Size: [0-9]+" "Installed-Size: ${kilobytes}" control "${control}")
    file(WRITE "${root}/DEBIAN/control" "${control}")
    file(CHMOD "${root}/DEBIAN/md5sums" "${root}/DEBIAN/control"
         PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

    file(REMOVE "${package}")
    execute_process(COMMAND "${DPKG_DEB}" --root-owner-group -Zxz --build "${root}" "${package}"
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE "${root}")
endforeach()
