# Tevol.exe, the launcher on Windows: Form1 drawn with the Win32 API from the
# same table of controls as the Qt window, and the Windows program starter.
add_library(tevol_starter STATIC
  ${PROJECT_SOURCE_DIR}/common/platform/program_starter.h
  ${PROJECT_SOURCE_DIR}/common/platform/program_starter_windows.cc)
target_include_directories(tevol_starter PUBLIC ${PROJECT_SOURCE_DIR})

add_executable(Tevol WIN32
  form1_table.h form1_table.cc
  form1_win32.h form1_win32.cc
  main_win32.cc)
target_include_directories(Tevol PRIVATE
  ${PROJECT_SOURCE_DIR}
  ${CMAKE_BINARY_DIR}/generated)
# wWinMain and the W functions throughout: a Unicode window program.
target_compile_definitions(Tevol PRIVATE UNICODE _UNICODE)
target_link_options(Tevol PRIVATE -municode)
target_link_libraries(Tevol PRIVATE tevol_starter comctl32 gdi32 user32)

# The starter's check, run under wine by scripts/test-windows.sh, with the
# program it starts; built beside the delivery, not into it.
add_executable(tevol_fake_calculator ${PROJECT_SOURCE_DIR}/tests/windows/fake_calculator.cc)
add_executable(tevol_starter_check ${PROJECT_SOURCE_DIR}/tests/windows/starter_check.cc)
target_link_libraries(tevol_starter_check PRIVATE tevol_starter)
set_target_properties(tevol_fake_calculator tevol_starter_check PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/checks)
