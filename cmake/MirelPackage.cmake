# Install rules and the Debian package of a panel (cmake --build build --target package). The
# programs go under /usr, the shipped ini files into /etc/mirel as conffiles, the program's data
# (embedded database, templates, pictures, exports) into /var/lib/mirel, made by postinst.
set(MIREL_ARCH_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE})
set(MIREL_MODULE_DIR ${MIREL_ARCH_LIBDIR}/mirel)
# The installed mirel finds its modules relative to its own folder (bin -> lib/<arch>/mirel).
file(RELATIVE_PATH module_rel /usr/bin /usr/${MIREL_MODULE_DIR})
set_source_files_properties(${PROJECT_SOURCE_DIR}/src/platform/module/ModuleFile.cpp
  DIRECTORY ${PROJECT_SOURCE_DIR}/src PROPERTIES COMPILE_DEFINITIONS MIREL_MODULE_DIR="${module_rel}")

set(pkg ${PROJECT_SOURCE_DIR}/packaging)
# mirel-devsim is a test tool (it needs the device simulators' libraries): not for a panel.
install(TARGETS mirel mirel-sql mirel-report RUNTIME DESTINATION bin)
install(TARGETS mirel_xlsx mirel_charts mirel_sqlite LIBRARY DESTINATION ${MIREL_MODULE_DIR})
install(PROGRAMS ${pkg}/mirel-kiosk DESTINATION libexec/mirel)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/templates/ DESTINATION share/mirel/templates
  FILES_MATCHING PATTERN "*.grf")
install(FILES ${PROJECT_SOURCE_DIR}/schema/sqlserver.sql ${PROJECT_SOURCE_DIR}/schema/sqlite.sql
  ${PROJECT_SOURCE_DIR}/schema/demo.sql ${PROJECT_SOURCE_DIR}/schema/mes-demo.sql
  DESTINATION share/mirel/schema)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${pkg}/debian/copyright DESTINATION share/doc/mirel)

# Native package: the changelog is changelog.gz, compressed without a time stamp.
configure_file(${pkg}/debian/changelog.in ${CMAKE_BINARY_DIR}/package/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/package/changelog.gz
  COMMAND gzip -9nf -k ${CMAKE_BINARY_DIR}/package/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/package/changelog)
add_custom_target(mirel_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/package/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/package/changelog.gz DESTINATION share/doc/mirel)

# The mill's ini files: conffiles, so that an upgrade keeps what the mill changed. 班别.ini has
# no shipped values (the stations read it as empty when it is missing): the mill adds it.
file(GLOB ini_files ${pkg}/etc/*.ini)
# Readable by root and (after postinst) the group mirel only: config.ini holds the password.
install(FILES ${ini_files} DESTINATION /etc/mirel PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ)
install(FILES ${pkg}/debian/lintian-overrides DESTINATION share/lintian/overrides RENAME mirel)
set(conffiles "")
foreach(f ${ini_files})
  get_filename_component(n ${f} NAME)
  string(APPEND conffiles "/etc/mirel/${n}\n")
endforeach()
file(WRITE ${CMAKE_BINARY_DIR}/package/conffiles "${conffiles}")

install(FILES ${pkg}/systemd/mirel-mesrun.service ${pkg}/systemd/mirel-mesrun.timer
  ${pkg}/systemd/mirel-station@.service ${pkg}/systemd/mirel-serve.service
  DESTINATION /lib/systemd/system)

# One menu entry per station word.
set(station_captions "check=验布" "maitou=唛头" "huaxian=化纤装箱" "mes=验布 MES" "bag=打包"
  "item=商品图片" "3d=3D 图片" "load=工序进度" "rfid=RFID 发卡" "kanban=库存看板" "quality=质量分析")
foreach(entry ${station_captions})
  string(REPLACE "=" ";" word_and_caption "${entry}")
  list(GET word_and_caption 0 WORD)
  list(GET word_and_caption 1 CAPTION)
  configure_file(${pkg}/mirel-station.desktop.in ${CMAKE_BINARY_DIR}/package/mirel-${WORD}.desktop @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/package/mirel-${WORD}.desktop DESTINATION share/applications)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mirel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "mirel developers <it@mill.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "shop-floor station program of the textile mill")
set(CPACK_PACKAGE_DESCRIPTION
  "One program serves every station of the mill's panels: fabric inspection,
mark labels, fiber boxes, packing, process progress, stock board, RFID cards,
item pictures and the quality overview, with the unattended MES loom-event
import. It works on the mill's SQL Server database through ODBC, or on an
embedded SQLite database.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "adduser, fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "tdsodbc, cage, xwayland, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libsqliteodbc")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${pkg}/debian/postinst ${pkg}/debian/postrm
  ${CMAKE_BINARY_DIR}/package/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
