# Install rules and the Debian packages (CPack DEB), one component per package:
#   module     libqiantai.so in the private library folder
#   dev        the public headers, for hosts that build against the module
#   host       qiantai-host
#   cardd      qiantai-cardd with its systemd unit and configuration
#   simulator  libsldll.so, the card-terminal simulator
# The version is the project's (project() in the top CMakeLists.txt).
include(GNUInstallDirs)

# Private folder of the module and the simulator: not on the linker's path.
set(QIANTAI_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/qiantai)
# The private folder as seen from the programs' folder, so that an unpacked
# tree works wherever it lies.
file(RELATIVE_PATH QIANTAI_MODULE_RELDIR ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${QIANTAI_PRIVATE_LIBDIR})
set(QIANTAI_SYSCONFDIR /etc/qiantai)
if(TARGET qiantai-host)
  target_compile_definitions(qiantai-host PRIVATE QIANTAI_MODULE_RELDIR="${QIANTAI_MODULE_RELDIR}")
endif()
foreach(program qiantai-host qiantai-cardd)
  if(TARGET ${program})
    target_compile_definitions(${program} PRIVATE QIANTAI_VERSION="${PROJECT_VERSION}")
  endif()
endforeach()

# Nothing installed keeps a build-tree RPATH. The module finds the simulator
# beside it ($ORIGIN) when the station names the bare "libsldll.so".
# The host's station check loads the simulator the same way.
set_target_properties(qiantai PROPERTIES INSTALL_RPATH "\$ORIGIN")
if(TARGET qiantai-host)
  set_target_properties(qiantai-host PROPERTIES INSTALL_RPATH "\$ORIGIN/${QIANTAI_MODULE_RELDIR}")
endif()
# Packaging builds only what it installs (scripts/package names the targets).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS qiantai LIBRARY DESTINATION ${QIANTAI_PRIVATE_LIBDIR} COMPONENT module NAMELINK_SKIP)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/qiantai DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        COMPONENT dev FILES_MATCHING PATTERN "*.h")
if(TARGET qiantai-host)
  install(TARGETS qiantai-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT host)
endif()
if(TARGET qiantai-cardd)
  install(TARGETS qiantai-cardd RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cardd)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/qiantai-cardd.service
          DESTINATION lib/systemd/system COMPONENT cardd)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/qiantai-cardd.sysusers
          DESTINATION lib/sysusers.d RENAME qiantai-cardd.conf COMPONENT cardd)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/qiantai-cardd.conf DESTINATION ${QIANTAI_SYSCONFDIR}
          COMPONENT cardd)
endif()
if(TARGET sldll)
  install(TARGETS sldll LIBRARY DESTINATION ${QIANTAI_PRIVATE_LIBDIR} COMPONENT simulator)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/Quelmarpos.ini DESTINATION ${QIANTAI_SYSCONFDIR}
        COMPONENT host)

# Debian documentation of every package: copyright and the compressed
# changelog.
set(package_names module qiantai-module dev qiantai-dev host qiantai-host cardd qiantai-cardd simulator
                  qiantai-sldll-simulator)
set(changelog_gz ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
execute_process(COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/packaging/changelog OUTPUT_FILE ${changelog_gz}
                COMMAND_ERROR_IS_FATAL ANY)
while(package_names)
  list(POP_FRONT package_names component package)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${changelog_gz}
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
  string(TOUPPER ${component} upper)
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${package})
  set(CPACK_DEBIAN_${upper}_FILE_NAME DEB-DEFAULT)
endwhile()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qiantai)
set(CPACK_PACKAGE_VENDOR "qiantai developers")
set(CPACK_PACKAGE_CONTACT "qiantai developers <qiantai-developers@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL module dev host cardd simulator)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(CPACK_COMPONENT_MODULE_DESCRIPTION
    "front-desk sales module of the store system\nlibqiantai.so, the cashier's sales and checkout screens, loaded by a\nstore host through GetFormOne. It lives in a private library folder.")
set(CPACK_COMPONENT_DEV_DESCRIPTION
    "front-desk sales module - headers for store hosts\nThe host service interface, data packets, DISPIDs and the GetFormOne\nentry point, for store hosts that build against the module.")
set(CPACK_COMPONENT_HOST_DESCRIPTION
    "reference store host of the front-desk sales module\nqiantai-host opens the sales module over a SQLite or PostgreSQL store\ndatabase; it also creates the demo store, runs queries, checks a\nstation and prints the cashier's day report.")
set(CPACK_COMPONENT_CARDD_DESCRIPTION
    "card front-end server for member cards and certificates\nqiantai-cardd answers the tills' member card and welfare certificate\nrequests over JSON-RPC 2.0, keeping one journal row per charge. It runs\nas the systemd service qiantai-cardd.")
set(CPACK_COMPONENT_SIMULATOR_DESCRIPTION
    "card-terminal simulator (not for real payments)\nlibsldll.so exports CardTrans like a bank card terminal library but\napproves by simple rules without any terminal. For demonstrations and\ntests only; a store installs its terminal vendor's library instead.")
set(CPACK_DEBIAN_DEV_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "qiantai-module (= ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}), qt6-base-dev")
set(CPACK_DEBIAN_HOST_PACKAGE_DEPENDS "qiantai-module (= ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}), libqt6sql6-sqlite")
set(CPACK_DEBIAN_HOST_PACKAGE_SUGGESTS "libqt6sql6-psql, qiantai-sldll-simulator")
set(CPACK_DEBIAN_MODULE_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_CARDD_PACKAGE_DEPENDS "libqt6sql6-sqlite, adduser")
set(CPACK_DEBIAN_CARDD_PACKAGE_SUGGESTS "libqt6sql6-psql")
set(CPACK_DEBIAN_CARDD_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/packaging/debian/cardd/conffiles ${PROJECT_SOURCE_DIR}/packaging/debian/cardd/postinst
    ${PROJECT_SOURCE_DIR}/packaging/debian/cardd/prerm ${PROJECT_SOURCE_DIR}/packaging/debian/cardd/postrm)
set(CPACK_DEBIAN_CARDD_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_HOST_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/debian/host/conffiles)
set(CPACK_DEBIAN_HOST_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
include(CPack)
