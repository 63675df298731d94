# The Debian packages, made by CPack (scripts/package; the preset "package" turns this on):
#   lcdiag          lcdiag, lcdiag-sim, lcdiag-lang, lcdiag-tool, the udev rule of the USB
#                   adapter, the desktop entry, the icon, the AppStream metainfo and the
#                   manual pages
#   lcdiag-pro      lcdiag-pro with its desktop entry and manual page; depends on lcdiag
#   lcdiag-factory  lcdiag-factory likewise
# The programs' own install rules stand beside their targets (component lcdiag, pro or
# factory); this file installs the rest and describes the packages. The manual pages of the
# three window programs are made from their --help with help2man, the PNG icons from the
# SVG with rsvg-convert.
option(LCDIAG_PACKAGE "Make the files of the Debian packages (needs help2man, rsvg-convert, gzip)" OFF)
if(NOT LCDIAG_PACKAGE)
  return()
endif()

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(staged ${PROJECT_BINARY_DIR}/packaging)
set(app_id org.lcdiag.lcdiag)

find_program(HELP2MAN help2man REQUIRED)
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(GZIP gzip REQUIRED)

# The changelog and the metainfo name the release: both must name this version, or the
# packages would say one version and their documents another.
file(STRINGS ${packaging}/debian/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^lcdiag \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog: its first entry must be version ${PROJECT_VERSION}: ${changelog_head}")
endif()
file(READ ${packaging}/metainfo/${app_id}.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<releases>[ \n]*<release version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "packaging/metainfo/${app_id}.metainfo.xml: its newest release must be ${PROJECT_VERSION}")
endif()
# The pages carry the date of the release, not of the build.
file(STRINGS ${packaging}/debian/changelog changelog_trailer REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX REPLACE "^ -- .*>  " "" release_date "${changelog_trailer}")
execute_process(COMMAND date -u -d "${release_date}" +%s
                OUTPUT_VARIABLE release_epoch OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

# Manual pages, compressed as Debian wants them (gzip -9n: no name, no time stamp).
set(man_pages)
foreach(program lcdiag lcdiag-pro lcdiag-factory)
  set(page ${staged}/man/${program}.1)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${release_epoch} QT_QPA_PLATFORM=offscreen
            ${HELP2MAN} --no-info --no-discard-stderr --version-string=${PROJECT_VERSION}
            --include=${packaging}/man/${program}.h2m --output=${page} $<TARGET_FILE:${program}>
    COMMAND ${GZIP} -9nf ${page}
    DEPENDS ${program} ${packaging}/man/${program}.h2m
    COMMENT "Manual page ${program}.1 (help2man)"
    VERBATIM)
  list(APPEND man_pages ${page}.gz)
endforeach()
# The tools' pages are written by hand (lcdiag-lang answers --help with its usage and exit
# code 2, which help2man refuses; lcdiag-tool's commands each have their own help).
foreach(program lcdiag-sim lcdiag-lang lcdiag-tool)
  set(page ${staged}/man/${program}.1)
  configure_file(${packaging}/man/${program}.1.in ${staged}/man/${program}.1.in @ONLY)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${staged}/man/${program}.1.in ${page}
    COMMAND ${GZIP} -9nf ${page}
    DEPENDS ${staged}/man/${program}.1.in
    VERBATIM)
  list(APPEND man_pages ${page}.gz)
endforeach()

# The icon in the sizes the desktops look for.
set(icon_sizes 16 24 32 48 64 128 256)
set(icons)
foreach(size ${icon_sizes})
  set(icon ${staged}/icons/${size}x${size}/${app_id}.png)
  add_custom_command(
    OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${staged}/icons/${size}x${size}
    COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${icon} ${packaging}/icons/lcdiag.svg
    DEPENDS ${packaging}/icons/lcdiag.svg
    VERBATIM)
  list(APPEND icons ${icon})
  install(FILES ${icon} DESTINATION share/icons/hicolor/${size}x${size}/apps COMPONENT lcdiag)
endforeach()

# The packages are native (no Debian revision), so their one changelog is "changelog.gz".
add_custom_command(
  OUTPUT ${staged}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${packaging}/debian/changelog ${staged}/changelog
  COMMAND ${GZIP} -9nf ${staged}/changelog
  DEPENDS ${packaging}/debian/changelog
  VERBATIM)

add_custom_target(lcdiag_package_files ALL DEPENDS ${man_pages} ${icons} ${staged}/changelog.gz)

# Maintainer scripts: CPack takes their permissions from the file.
foreach(script postinst postrm)
  configure_file(${packaging}/debian/${script} ${staged}/debian/${script} COPYONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()

# What the packages hold besides the programs.
install(FILES ${packaging}/udev/60-lcdiag.rules DESTINATION lib/udev/rules.d COMPONENT lcdiag)
install(FILES ${packaging}/icons/lcdiag.svg DESTINATION share/icons/hicolor/scalable/apps
        RENAME ${app_id}.svg COMPONENT lcdiag)
install(FILES ${packaging}/metainfo/${app_id}.metainfo.xml DESTINATION share/metainfo COMPONENT lcdiag)
install(FILES ${packaging}/desktop/${app_id}.desktop DESTINATION share/applications COMPONENT lcdiag)
install(FILES ${staged}/man/lcdiag.1.gz ${staged}/man/lcdiag-sim.1.gz ${staged}/man/lcdiag-lang.1.gz
              ${staged}/man/lcdiag-tool.1.gz
        DESTINATION share/man/man1 COMPONENT lcdiag)
foreach(component pro factory)
  install(FILES ${packaging}/desktop/${app_id}_${component}.desktop DESTINATION share/applications
          COMPONENT ${component})
  install(FILES ${staged}/man/lcdiag-${component}.1.gz DESTINATION share/man/man1 COMPONENT ${component})
endforeach()
foreach(package lcdiag:lcdiag lcdiag-pro:pro lcdiag-factory:factory)
  string(REPLACE ":" ";" parts ${package})
  list(GET parts 0 name)
  list(GET parts 1 component)
  install(FILES ${packaging}/debian/copyright ${staged}/changelog.gz
          DESTINATION share/doc/${name} COMPONENT ${component})
endforeach()

# The packages.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lcdiag)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The lcdiag authors")
set(CPACK_PACKAGE_CONTACT "lcdiag authors <lcdiag@example.org>")
# Each package's description names its own summary in its first line; a common summary
# would be put in front of each.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL lcdiag pro factory)
set(CPACK_COMPONENT_PRO_DEPENDS lcdiag)
set(CPACK_COMPONENT_FACTORY_DEPENDS lcdiag)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(CPACK_DEBIAN_LCDIAG_PACKAGE_NAME lcdiag)
set(CPACK_DEBIAN_LCDIAG_PACKAGE_CONTROL_EXTRA ${staged}/debian/postinst ${staged}/debian/postrm)
set(CPACK_DEBIAN_LCDIAG_DESCRIPTION
    "diagnose and configure safety light curtains
lcdiag diagnoses and configures safety light curtains and light grids through
a serial port or the device's own USB adapter: it shows every beam, the status
LEDs, the functional status and the faults live, reads, edits and writes back
the unit's settings with a confirmation and a read-back check, saves them as a
text report and calculates the safety distance of an installation.
.
This package also holds lcdiag-sim, a simulated light curtain controller on a
pseudo-terminal, lcdiag-lang, the translators' tool, lcdiag-tool, which decodes
session recordings and configuration files and calculates safety distances on
the command line, and the udev rule for the device's USB adapter.")

set(CPACK_DEBIAN_PRO_PACKAGE_NAME lcdiag-pro)
set(CPACK_DEBIAN_PRO_DESCRIPTION
    "lcdiag with configuration files
lcdiag-pro is lcdiag with two more functions: it exports a connected safety
light curtain's factory data and configuration to a configuration file, and
imports such a file into the settings of a unit of the same model.")

set(CPACK_DEBIAN_FACTORY_PACKAGE_NAME lcdiag-factory)
set(CPACK_DEBIAN_FACTORY_DESCRIPTION
    "lcdiag for the manufacturer of safety light curtains
lcdiag-factory is the manufacturer's build of lcdiag: after its code has been
entered it edits and writes a unit's factory data and lists the last
configurations the receiver keeps.")

include(CPack)
