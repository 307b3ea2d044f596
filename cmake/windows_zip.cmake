# The Windows delivery as one ZIP: Tevol-<version>-win64.zip holds the folder
# Tevol-<version>-win64 with Tevol.exe and Tevol_1.exe to Tevol_4.exe, which
# need nothing but Windows itself. `cmake --build build-win --target package`.
set(tevol_windows_programs Tevol_1 Tevol_2 Tevol_3 Tevol_4)
if(TARGET Tevol)
  list(PREPEND tevol_windows_programs Tevol)
endif()
install(TARGETS ${tevol_windows_programs} RUNTIME DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tevol)
set(CPACK_PACKAGE_VENDOR "Tevol Developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
