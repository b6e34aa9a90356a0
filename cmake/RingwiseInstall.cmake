# Installing: `cmake --install` puts the program folder, as bin/ of the build
# tree holds it, in PREFIX/lib/ringwise (the assets install themselves, see
# RingwiseAssets.cmake), links the commands in PREFIX/bin to it and adds the
# desktop entries, icons and AppStream metadata. An installed program folder
# is read-only; Ringwise then writes under $XDG_DATA_HOME/ringwise.
# Included after every target is defined, so that it installs the programs
# that exist.

include(GNUInstallDirs)

set(RINGWISE_APP_ID org.ringwise.Ringwise)
set(RINGWISE_SCREENSHOT_URL "${PROJECT_HOMEPAGE_URL}screenshots" CACHE STRING
    "Where the AppStream metadata's screenshots are published")

set(programs Ringwise Settings ringwise-tool ringwise-reg ringwise-install ringwise-pim skinc)
set(libraries phone phone-modemmanager phone-tel phone-log setup RingwiseAssign)
set(installed)
foreach(target IN LISTS programs libraries)
    if(TARGET ${target})
        list(APPEND installed ${target})
    endif()
endforeach()
install(TARGETS ${installed}
    RUNTIME DESTINATION ${RINGWISE_INSTALL_FOLDER}
    LIBRARY DESTINATION ${RINGWISE_INSTALL_FOLDER})

# ringwise_install_link(NAME TARGET): PREFIX/bin/NAME, a relative symbolic
# link to TARGET in the program folder. "%app_path%" follows it, so the
# program finds its folder however it was started.
function(ringwise_install_link name target)
    install(CODE "
        set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(MAKE_DIRECTORY \"\${bin}\")
        file(REMOVE \"\${bin}/${name}\")
        file(CREATE_LINK ../${RINGWISE_INSTALL_FOLDER}/${target} \"\${bin}/${name}\" SYMBOLIC)
        message(STATUS \"Installing: \${bin}/${name} -> ../${RINGWISE_INSTALL_FOLDER}/${target}\")")
endfunction()

ringwise_install_link(ringwise-tool ringwise-tool)
if(TARGET Ringwise)
    ringwise_install_link(ringwise Ringwise)
endif()
# The settings launcher starts Ringwise's settings mode, so it is linked
# only beside the program that it starts; the settings entry runs it.
if(TARGET Ringwise AND TARGET Settings)
    ringwise_install_link(ringwise-settings Settings)
endif()

# What the desktop shows: only with the program that its entries start. The
# metadata is made in any case, so that the tests validate it.
set(desktop ${PROJECT_SOURCE_DIR}/assets/desktop)
configure_file(${desktop}/${RINGWISE_APP_ID}.metainfo.xml.in
    ${PROJECT_BINARY_DIR}/${RINGWISE_APP_ID}.metainfo.xml @ONLY)
if(TARGET Ringwise)
    install(FILES ${desktop}/${RINGWISE_APP_ID}.desktop ${desktop}/${RINGWISE_APP_ID}.Settings.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_BINARY_DIR}/${RINGWISE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    install(FILES ${desktop}/${RINGWISE_APP_ID}.svg ${desktop}/${RINGWISE_APP_ID}.Settings.svg
        DESTINATION ${icons}/scalable/apps)
    file(GLOB sizes LIST_DIRECTORIES true RELATIVE ${desktop}/icons ${desktop}/icons/*)
    foreach(size IN LISTS sizes)
        install(FILES ${desktop}/icons/${size}/${RINGWISE_APP_ID}.png
            ${desktop}/icons/${size}/${RINGWISE_APP_ID}.Settings.png
            DESTINATION ${icons}/${size}/apps)
    endforeach()
endif()
