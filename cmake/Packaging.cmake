# Installation layout, desktop integration and the Debian package.
# Included from the top-level file once the programs and zbplatform exist.
include(GNUInstallDirs)
set(ZB_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/zierbogen-drucker)
set(ZB_APPSTREAM_ID org.example.zierbogen_drucker)

# Installed programs look for their textures relative to their own folder, so
# an unpacked or relocated tree works as well as /usr.
file(RELATIVE_PATH ZB_INSTALLED_TEXTURES /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${ZB_SHARE_DIR}/texturen)
file(RELATIVE_PATH ZB_INSTALLED_MANUAL /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${ZB_SHARE_DIR}/handbuch)
target_compile_definitions(zbplatform PRIVATE ZB_INSTALLED_TEXTURES="${ZB_INSTALLED_TEXTURES}"
  ZB_INSTALLED_MANUAL="${ZB_INSTALLED_MANUAL}")

# ---- the manual: its pages, and the screenshots the tests make as its pictures.
# A copy lies beside the programs in the build tree, where they look first.
file(GLOB ZB_MANUAL_PAGES CONFIGURE_DEPENDS docs/handbuch/*)
file(GLOB ZB_MANUAL_PICTURES CONFIGURE_DEPENDS docs/screenshots/*.png)
set(ZB_MANUAL_STAMP ${CMAKE_BINARY_DIR}/tools/handbuch.stamp)
add_custom_command(OUTPUT ${ZB_MANUAL_STAMP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/bin/handbuch
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/handbuch/bilder
  COMMAND ${CMAKE_COMMAND} -E copy ${ZB_MANUAL_PAGES} ${CMAKE_BINARY_DIR}/bin/handbuch
  COMMAND ${CMAKE_COMMAND} -E copy ${ZB_MANUAL_PICTURES} ${CMAKE_BINARY_DIR}/bin/handbuch/bilder
  COMMAND ${CMAKE_COMMAND} -E touch ${ZB_MANUAL_STAMP}
  DEPENDS ${ZB_MANUAL_PAGES} ${ZB_MANUAL_PICTURES}
  COMMENT "Copying the manual")
add_custom_target(manual ALL DEPENDS ${ZB_MANUAL_STAMP})

# ---- templates ("Neu aus Vorlage...") and sample designs, beside the programs too.
file(GLOB ZB_TEMPLATES CONFIGURE_DEPENDS data/vorlagen/*.zbg)
file(GLOB ZB_EXAMPLES CONFIGURE_DEPENDS examples/*.zbg)
set(ZB_DESIGNS_STAMP ${CMAKE_BINARY_DIR}/tools/designs.stamp)
add_custom_command(OUTPUT ${ZB_DESIGNS_STAMP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/bin/vorlagen ${CMAKE_BINARY_DIR}/bin/examples
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/vorlagen ${CMAKE_BINARY_DIR}/bin/examples
  COMMAND ${CMAKE_COMMAND} -E copy ${ZB_TEMPLATES} ${CMAKE_BINARY_DIR}/bin/vorlagen
  COMMAND ${CMAKE_COMMAND} -E copy ${ZB_EXAMPLES} ${CMAKE_BINARY_DIR}/bin/examples
  COMMAND ${CMAKE_COMMAND} -E touch ${ZB_DESIGNS_STAMP}
  DEPENDS ${ZB_TEMPLATES} ${ZB_EXAMPLES}
  COMMENT "Copying the templates and sample designs")
add_custom_target(designs ALL DEPENDS ${ZB_DESIGNS_STAMP})
if(TARGET zierbogen-drucker)
  add_dependencies(zierbogen-drucker manual designs)
endif()

# ---- icons: the SVGs are the sources, the theme's PNG sizes are drawn at build time
add_executable(zb-iconrender tools/iconrender/main.cpp)
target_link_libraries(zb-iconrender PRIVATE Qt6::Gui Qt6::Svg)
set_target_properties(zb-iconrender PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
set(ZB_ICON_SIZES 16 22 24 32 48 64 128 256)
set(ZB_ICON_THEME ${CMAKE_BINARY_DIR}/icons/hicolor)
set(ZB_ICON_PNGS)
foreach(icon apps/zierbogen-drucker mimetypes/application-x-zierbogen-design)
  get_filename_component(context ${icon} DIRECTORY)
  get_filename_component(name ${icon} NAME)
  set(svg ${CMAKE_SOURCE_DIR}/data/icons/${name}.svg)
  set(pngs)
  foreach(size ${ZB_ICON_SIZES})
    list(APPEND pngs ${ZB_ICON_THEME}/${size}x${size}/${context}/${name}.png)
  endforeach()
  add_custom_command(OUTPUT ${pngs}
    COMMAND zb-iconrender ${svg} ${ZB_ICON_THEME} ${context} ${name} ${ZB_ICON_SIZES}
    DEPENDS zb-iconrender ${svg}
    COMMENT "Drawing the ${name} icon sizes")
  list(APPEND ZB_ICON_PNGS ${pngs})
  install(FILES ${svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/${context})
endforeach()
add_custom_target(icons ALL DEPENDS ${ZB_ICON_PNGS})

# ---- files that carry the project's addresses and version
configure_file(data/zierbogen-drucker.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/data/${ZB_APPSTREAM_ID}.metainfo.xml @ONLY)
configure_file(data/copyright.in ${CMAKE_BINARY_DIR}/data/copyright @ONLY)

# ---- install rules
install(TARGETS zierbogen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET zierbogen-drucker)
  install(TARGETS zierbogen-drucker RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/texturen DESTINATION ${ZB_SHARE_DIR})
install(FILES ${ZB_EXAMPLES} DESTINATION ${ZB_SHARE_DIR}/examples)
install(FILES ${ZB_TEMPLATES} DESTINATION ${ZB_SHARE_DIR}/vorlagen)
install(FILES ${ZB_MANUAL_PAGES} DESTINATION ${ZB_SHARE_DIR}/handbuch)
install(FILES ${ZB_MANUAL_PICTURES} DESTINATION ${ZB_SHARE_DIR}/handbuch/bilder)
install(FILES data/zierbogen-drucker.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/data/${ZB_APPSTREAM_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/zierbogen-drucker-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
  RENAME zierbogen-drucker.xml)
install(DIRECTORY ${ZB_ICON_THEME} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_BINARY_DIR}/data/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zierbogen-drucker)

# ---- Debian package: cpack -G DEB in the build tree
# The icon cache, MIME database and desktop database are refreshed by the
# triggers of Debian's own packages, so the package needs no scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zierbogen-drucker)
set(CPACK_PACKAGE_VENDOR "Zierbogen-Drucker-Team")
set(CPACK_PACKAGE_CONTACT "Zierbogen-Drucker-Team <${ZB_CONTACT}>")
set(CPACK_PACKAGE_HOMEPAGE_URL ${ZB_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design and print decorative craft paper")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Zierbogen-Drucker designs decorative craft paper as a stack of layers:"
  "colour gradients, scattered geometric patterns, tiled textures and"
  "pictures, filters and scattered text, each with its own transparency."
  "Every composition gives a fresh sheet of the same kind; designs are"
  "printed, exported and kept in .zbg files."
  ""
  "The package holds the window program zierbogen-drucker, the command-line"
  "program zierbogen, a texture library and sample designs.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Plugins are loaded at run time, so shlibdeps cannot see them: TIFF export
# and TIFF/WebP textures need Qt's extra image formats.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins")
# Qt's own dialogs speak German with its translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core | fonts-liberation, qt6-translations-l10n")
# Printing goes through the print system; without it designs still print to PDF files.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
include(CPack)
