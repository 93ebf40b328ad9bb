cmake_minimum_required(VERSION 3.25)
# Installs the build into an empty prefix and checks what a desktop needs to find there: the
# program, its launcher entry (valid, naming an icon and program that were installed), the icon
# in every size and the metadata (valid, naming the launcher entry).
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(id example.corvanel.Corvanel)
set(expected
    bin/corvanel
    share/applications/${id}.desktop
    share/metainfo/${id}.metainfo.xml
    share/icons/hicolor/scalable/apps/corvanel.svg)
foreach(size 16 24 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/corvanel.png)
endforeach()
foreach(f IN LISTS expected)
    if(NOT EXISTS ${PREFIX}/${f})
        message(FATAL_ERROR "not installed: ${f}")
    endif()
endforeach()
execute_process(COMMAND test -x ${PREFIX}/bin/corvanel RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "bin/corvanel is not executable")
endif()

# Only what the desktop needs: no libraries, headers, tests or benchmarks.
file(GLOB_RECURSE all RELATIVE ${PREFIX} ${PREFIX}/*)
list(LENGTH all n)
list(LENGTH expected m)
if(NOT n EQUAL m)
    message(FATAL_ERROR "installed more than the program needs: ${all}")
endif()

set(desktop ${PREFIX}/share/applications/${id}.desktop)
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${desktop} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate failed on the installed entry")
endif()
file(STRINGS ${desktop} lines)
foreach(want "Exec=corvanel" "Icon=corvanel" "Categories=Office;Finance;")
    if(NOT want IN_LIST lines)
        message(FATAL_ERROR "the desktop entry lacks ${want}")
    endif()
endforeach()
set(keywords "")
foreach(l IN LISTS lines)
    if(l MATCHES "^Keywords=(.*)$")
        set(keywords "${CMAKE_MATCH_1}")
    endif()
endforeach()
foreach(k roofing estimate proposal quote)
    if(NOT keywords MATCHES "(^|;)${k};")
        message(FATAL_ERROR "the desktop entry's Keywords lack ${k}")
    endif()
endforeach()

set(meta ${PREFIX}/share/metainfo/${id}.metainfo.xml)
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net ${meta} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate failed on the installed metadata")
endif()
file(READ ${meta} xml)
# The release notes name this version: a new version without its notes fails here.
foreach(want "<launchable type=\"desktop-id\">${id}.desktop</launchable>" "<screenshot"
             "<release version=\"${VERSION}\"" "<binary>corvanel</binary>")
    string(FIND "${xml}" "${want}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the metadata lacks ${want}")
    endif()
endforeach()
message(STATUS "installed ${n} files")
