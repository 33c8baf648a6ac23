# Libraries found outside Qt: the HTTP client/server, JSON, password hashing, TLS.
find_package(PkgConfig REQUIRED)
find_package(OpenSSL REQUIRED)
find_package(nlohmann_json REQUIRED)
pkg_check_modules(CPP_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
pkg_check_modules(SODIUM REQUIRED IMPORTED_TARGET libsodium)
# The card server's HTTP(S) layer.
pkg_check_modules(MHD REQUIRED IMPORTED_TARGET libmicrohttpd)
pkg_check_modules(GNUTLS REQUIRED IMPORTED_TARGET gnutls)

if(NOT TARGET qiantai::httplib)
  add_library(qiantai_httplib INTERFACE)
  # System include so that warnings inside the header do not fail -Werror builds.
  target_include_directories(qiantai_httplib SYSTEM INTERFACE ${CPP_HTTPLIB_INCLUDE_DIRS})
  target_link_libraries(qiantai_httplib INTERFACE PkgConfig::CPP_HTTPLIB OpenSSL::SSL OpenSSL::Crypto Threads::Threads)
  add_library(qiantai::httplib ALIAS qiantai_httplib)
endif()
