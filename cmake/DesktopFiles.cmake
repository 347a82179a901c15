# What a program brings to the desktop besides itself: the launcher, icons in every size
# of the hicolor theme, the AppStream metainfo and the manual page. Sources live in the
# program's data/ folder: <name>.desktop, <name>.svg, <name>.metainfo.xml.in, <name>.1.scd.

find_program(CORVELLE_SCDOC scdoc REQUIRED)
find_program(CORVELLE_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(CORVELLE_GZIP gzip REQUIRED)

set(CORVELLE_ICON_SIZES 16 24 32 48 64 128 256)

# AppStream ids are the maker's domain reversed and the program's name, all in lower case.
set(CORVELLE_APPSTREAM_DOMAIN example.corvelle)

# corvelle_desktop_files(<name> <version>)
# <version> is the program's own, as its About box shows it; the metainfo's release
# carries it (the package has a version of its own).
function(corvelle_desktop_files name version)
    set(CORVELLE_APPSTREAM_ID ${CORVELLE_APPSTREAM_DOMAIN}.${name})
    set(CORVELLE_PROGRAM_VERSION ${version})
    set(data ${CMAKE_CURRENT_SOURCE_DIR}/data)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/data)
    file(MAKE_DIRECTORY ${out})
    set(outputs)

    # Manual pages are compressed without a time stamp, so that rebuilds are identical.
    add_custom_command(OUTPUT ${out}/${name}.1 ${out}/${name}.1.gz
        COMMAND sh -c "'${CORVELLE_SCDOC}' < '${data}/${name}.1.scd' > '${out}/${name}.1'"
        COMMAND sh -c "'${CORVELLE_GZIP}' -9nc '${out}/${name}.1' > '${out}/${name}.1.gz'"
        DEPENDS ${data}/${name}.1.scd
        COMMENT "Manual page ${name}(1)" VERBATIM)
    list(APPEND outputs ${out}/${name}.1.gz)
    install(FILES ${out}/${name}.1.gz DESTINATION share/man/man1)

    foreach(size ${CORVELLE_ICON_SIZES})
        set(png ${out}/icons/${size}x${size}/${name}.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${out}/icons/${size}x${size}
            COMMAND ${CORVELLE_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${data}/${name}.svg
            DEPENDS ${data}/${name}.svg VERBATIM)
        list(APPEND outputs ${png})
        install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
    endforeach()
    install(FILES ${data}/${name}.svg DESTINATION share/icons/hicolor/scalable/apps)

    set(metainfo ${out}/${CORVELLE_APPSTREAM_ID}.metainfo.xml)
    configure_file(${data}/${name}.metainfo.xml.in ${metainfo} @ONLY)
    install(FILES ${metainfo} DESTINATION share/metainfo)
    install(FILES ${data}/${name}.desktop DESTINATION share/applications)

    add_custom_target(${name}_desktop_files ALL DEPENDS ${outputs})
    set_property(GLOBAL APPEND PROPERTY CORVELLE_MANUAL_PAGES ${out}/${name}.1)
    set_property(GLOBAL APPEND PROPERTY CORVELLE_METAINFO_FILES ${metainfo})
endfunction()
