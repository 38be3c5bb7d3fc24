# Packages of a Windows build, written to <build>/packages:
#   package_installer  Vantisk-<version>-<arch>-setup.exe (NSIS, per user)
#   package_portable   Vantisk-<version>-<arch>-portable.zip (the exe and README.txt)
#   packages           both
# <arch> is win32 or win64 after the toolchain. None of them is part of "all".
if(NOT WIN32)
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VANTISK_PACKAGE_ARCH win64)
else()
  set(VANTISK_PACKAGE_ARCH win32)
endif()

set(_pkg_base "Vantisk-${PROJECT_VERSION}-${VANTISK_PACKAGE_ARCH}")
set(_pkg_dir "${CMAKE_BINARY_DIR}/packages")
set(_pkg_work "${CMAKE_BINARY_DIR}/packaging")
set(VANTISK_INSTALLER "${_pkg_dir}/${_pkg_base}-setup.exe")
set(VANTISK_PORTABLE_ZIP "${_pkg_dir}/${_pkg_base}-portable.zip")

# The README for users, with Windows line ends so that every Notepad shows it.
configure_file("${CMAKE_SOURCE_DIR}/packaging/README.txt.in" "${_pkg_work}/README.txt"
               @ONLY NEWLINE_STYLE CRLF)

# --- installer -----------------------------------------------------------------
find_program(MAKENSIS makensis)
set(_nsi "${CMAKE_SOURCE_DIR}/packaging/vantisk.nsi")
set(_icon "${CMAKE_SOURCE_DIR}/resources/vantisk.ico")
if(MAKENSIS)
  add_custom_command(
    OUTPUT "${VANTISK_INSTALLER}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${_pkg_dir}"
    COMMAND "${CMAKE_COMMAND}" -E rm -f "${VANTISK_INSTALLER}"
    COMMAND "${MAKENSIS}" -V2 -WX -INPUTCHARSET UTF8
            "-DVERSION=${PROJECT_VERSION}"
            "-DFILEVERSION=${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0"
            "-DARCH=${VANTISK_PACKAGE_ARCH}"
            "-DEXE=$<TARGET_FILE:Vantisk>"
            "-DREADME=${_pkg_work}/README.txt"
            "-DICON=${_icon}"
            "-DOUTFILE=${VANTISK_INSTALLER}"
            "${_nsi}"
    DEPENDS Vantisk "${_nsi}" "${_pkg_work}/README.txt" "${_icon}"
    COMMENT "Writing ${_pkg_base}-setup.exe"
    VERBATIM)
  add_custom_target(package_installer DEPENDS "${VANTISK_INSTALLER}")
else()
  add_custom_target(package_installer
    COMMAND "${CMAKE_COMMAND}" -E echo "makensis was not found: install NSIS (Debian: apt-get install nsis)"
    COMMAND "${CMAKE_COMMAND}" -E false
    VERBATIM)
endif()

# --- portable zip ----------------------------------------------------------------
# One folder "Vantisk" in the zip, so that unpacking never scatters files.
set(_stage "${_pkg_work}/portable")
add_custom_command(
  OUTPUT "${VANTISK_PORTABLE_ZIP}"
  COMMAND "${CMAKE_COMMAND}" -E rm -rf "${_stage}"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${_stage}/Vantisk" "${_pkg_dir}"
  COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE:Vantisk>" "${_stage}/Vantisk/Vantisk.exe"
  COMMAND "${CMAKE_COMMAND}" -E copy "${_pkg_work}/README.txt" "${_stage}/Vantisk/README.txt"
  COMMAND "${CMAKE_COMMAND}" -E rm -f "${VANTISK_PORTABLE_ZIP}"
  COMMAND "${CMAKE_COMMAND}" -E chdir "${_stage}"
          "${CMAKE_COMMAND}" -E tar cf "${VANTISK_PORTABLE_ZIP}" --format=zip Vantisk
  DEPENDS Vantisk "${_pkg_work}/README.txt"
  COMMENT "Writing ${_pkg_base}-portable.zip"
  VERBATIM)
add_custom_target(package_portable DEPENDS "${VANTISK_PORTABLE_ZIP}")

add_custom_target(packages)
add_dependencies(packages package_installer package_portable)
# What the targets write, one path a line, for scripts/package.sh.
file(CONFIGURE OUTPUT "${CMAKE_BINARY_DIR}/packages.txt"
     CONTENT "${VANTISK_INSTALLER}\n${VANTISK_PORTABLE_ZIP}\n")

# --- test: silent install and uninstall of the 64-bit setup under Wine -----------
if(VANTISK_PACKAGE_ARCH STREQUAL "win64" AND MAKENSIS)
  add_test(NAME packaging.installer_roundtrip
           COMMAND bash "${CMAKE_SOURCE_DIR}/tests/packaging/installer_roundtrip.sh"
                   "${CMAKE_BINARY_DIR}" "${VANTISK_INSTALLER}" "${PROJECT_VERSION}")
  set_tests_properties(packaging.installer_roundtrip PROPERTIES RUN_SERIAL TRUE TIMEOUT 300)
endif()
