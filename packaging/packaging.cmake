# Installation as a Linux application and the Debian package.
#
#   cmake --install <build> [--prefix DIR]   bin/zr78, bin/zr78ctl, the udev rule,
#                                             menu entry, icons, AppStream metainfo,
#                                             manual pages, copyright and changelog
#   cmake --build <build> --target package   the .deb (or scripts/package)
#
# Included from the top CMakeLists.txt after every target exists.
include(GNUInstallDirs)

# The desktop id: menu entry, icon, metainfo and the Wayland app id.
set(ZR78_APP_ID org.zr78.TuningTool)
set(ZR78_HOMEPAGE "https://zr78.example.org" CACHE STRING "The project's public address (metainfo)")
set(ZR78_SCREENSHOTS_URL "${ZR78_HOMEPAGE}/screenshots" CACHE STRING
    "Where docs/screenshot.png and docs/screenshot@2x.png are published (metainfo)")
set(ZR78_MAINTAINER "ZR-78 tuning tool developers <packages@zr78.example.org>" CACHE STRING
    "The Debian package's maintainer")

set(zr78_pack ${CMAKE_CURRENT_LIST_DIR})
set(zr78_pack_out ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${zr78_pack_out})

# The changelog's newest entry must be this version; its date is the release's.
file(STRINGS ${zr78_pack}/changelog zr78_changelog)
list(GET zr78_changelog 0 zr78_changelog_head)
if(NOT zr78_changelog_head MATCHES "^zr78 \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog: the newest entry is not version ${PROJECT_VERSION}: "
                      "add one for the project's version")
endif()
foreach(line IN LISTS zr78_changelog)
  if(line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    set(zr78_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND zr78_months ${CMAKE_MATCH_2} zr78_month)
    math(EXPR zr78_month "${zr78_month} + 1" OUTPUT_FORMAT DECIMAL)
    if(zr78_month LESS 10)
      set(zr78_month "0${zr78_month}")
    endif()
    set(ZR78_RELEASE_DATE "${CMAKE_MATCH_3}-${zr78_month}-${CMAKE_MATCH_1}")
    break()
  endif()
endforeach()
if(NOT ZR78_RELEASE_DATE)
  message(FATAL_ERROR "packaging/changelog: the newest entry has no trailer line with a date")
endif()

# ---- the programs ----------------------------------------------------------------
set(zr78_programs)
foreach(program zr78 zr78ctl)
  if(TARGET ${program})
    list(APPEND zr78_programs ${program})
  endif()
endforeach()
if(TARGET zr78)
  target_compile_definitions(zr78 PRIVATE ZR78_APP_ID="${ZR78_APP_ID}")
endif()
install(TARGETS ${zr78_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Both programs print the project's version (help2man reads it too).
if(ZR78_BUILD_TESTS)
  string(REPLACE "." "\\." zr78_version_pattern "${PROJECT_VERSION}")
  foreach(program IN LISTS zr78_programs)
    add_test(NAME ${program}_version COMMAND ${program} --version)
    set_tests_properties(${program}_version PROPERTIES LABELS packaging
                         PASS_REGULAR_EXPRESSION "^${program} ${zr78_version_pattern}\n$")
  endforeach()
endif()

# The rest is the Linux desktop's and Debian's.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

# lib/udev/rules.d under the prefix: /usr/lib/udev/rules.d in the package.
install(FILES ${zr78_pack}/70-zr78.rules DESTINATION lib/udev/rules.d)

# ---- desktop integration ------------------------------------------------------
if(TARGET zr78)
  install(FILES ${zr78_pack}/${ZR78_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${zr78_pack}/${ZR78_APP_ID}.metainfo.xml.in ${zr78_pack_out}/${ZR78_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${zr78_pack_out}/${ZR78_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # Drawn by tools/artwork_generator (target `artwork`) into resources/icons.
  foreach(size 48 64 128 256 512)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/zr78-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${ZR78_APP_ID}.png)
  endforeach()
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/zr78.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${ZR78_APP_ID}.svg)
endif()

# ---- manual pages from the programs' own --help and --version -----------------
# The folders in zr78ctl's help are shown for a home of "~", so the page says
# ~/.local/share/zr78/... rather than the builder's home.
find_program(ZR78_HELP2MAN help2man)
find_program(ZR78_GZIP gzip)
if(ZR78_HELP2MAN AND ZR78_GZIP)
  set(zr78_man_pages)
  foreach(program IN LISTS zr78_programs)
    set(page ${zr78_pack_out}/${program}.1)
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME --unset=LANGUAGE HOME=~ LC_ALL=C.UTF-8
              ${ZR78_HELP2MAN} --no-info --no-discard-stderr --include=${zr78_pack}/${program}.h2m
              --output=${page} $<TARGET_FILE:${program}>
      COMMAND ${ZR78_GZIP} -9nf ${page}
      DEPENDS ${program} ${zr78_pack}/${program}.h2m
      COMMENT "Manual page ${program}.1 from ${program} --help"
      VERBATIM)
    list(APPEND zr78_man_pages ${page}.gz)
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${zr78_man_pages})
  install(FILES ${zr78_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man or gzip not found: no manual pages (scripts/bootstrap installs help2man)")
endif()

# ---- copyright and changelog ----------------------------------------------------
if(NOT ZR78_GZIP)
  message(FATAL_ERROR "gzip is needed for the changelog of the package")
endif()
set(zr78_changelog_gz ${zr78_pack_out}/changelog.gz)
add_custom_command(OUTPUT ${zr78_changelog_gz}
  COMMAND ${CMAKE_COMMAND} -E copy ${zr78_pack}/changelog ${zr78_pack_out}/changelog
  COMMAND ${ZR78_GZIP} -9nf ${zr78_pack_out}/changelog
  DEPENDS ${zr78_pack}/changelog
  VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${zr78_changelog_gz})
install(FILES ${zr78_pack}/copyright ${zr78_changelog_gz} DESTINATION ${CMAKE_INSTALL_DOCDIR})

# ---- the Debian package -----------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zr78)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ZR-78 tuning tool developers")
set(CPACK_PACKAGE_CONTACT "${ZR78_MAINTAINER}")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZR78_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZR78_HOMEPAGE}")
# The libraries from dpkg-shlibdeps; what it cannot see: Qt's platform plugins
# (loaded at run time) and fonts with Chinese coverage for the layout's faces.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wqy-microhei | fonts-noto-cjk, fontconfig")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tuning tool for the ZR-78 car-audio DSP amplifier")
# CPack puts the summary first and indents the body.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Plug the ZR-78 amplifier into the PC by USB and tune the car from one large
window: per output channel a 31-band equaliser, high- and low-pass
crossovers, limiter, gain, polarity, mute, time alignment and speaker role;
for the whole amplifier the master volume, input source, routing matrix,
noise gate and six named tuning memories. Tunings are saved as files on the
PC; a built-in virtual amplifier lets a tuning be prepared before you reach
the car. zr78ctl does the same from the command line.

A udev rule gives the logged-in user access to the amplifier.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${zr78_pack}/postinst ${zr78_pack}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
