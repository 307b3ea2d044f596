# The Debian package tevol_<version>_<arch>.deb, built by CPack from the
# install rules: `cmake --build build --target package`, or
# `cpack --config build/CPackConfig.cmake -B <dir>`. It needs no network.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tevol)
set(CPACK_PACKAGE_VENDOR "Tevol Developers")
set(CPACK_PACKAGE_CONTACT "Tevol Developers <tevol-dev@example.invalid>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# The one version of the suite: the project's, as the banner lines show it.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# The libraries the programs link against (the Qt 6 Widgets runtime, which
# also carries the X11 and off-screen platform plugins, and the C and C++
# runtimes) come from dpkg-shlibdeps. What no library link shows: a Japanese
# Gothic font for the launcher's texts, and the terminal that a calculator
# started from the window runs in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont-gothic | fonts-japanese-gothic, xterm | x-terminal-emulator")
# The window on a Wayland desktop without X11 compatibility.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

# The summary line, then the long description; an empty line in it is a
# paragraph break.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "internal dose of radiation workers from inhaled air")
set(CPACK_PACKAGE_DESCRIPTION
"Estimates the committed effective dose (mSv) that a worker receives by
breathing air that carries radionuclides released where unsealed
radioisotopes are handled. Four console calculators start from planned
usage (Tevol_1), measured room air (Tevol_2), monthly actual usage (Tevol_3)
or gas-monitor readings (Tevol_4); the launcher window Tevol starts one of
them in a terminal. Only intake by inhalation is covered.

放射線業務従事者の内部被曝線量の算定：非密封放射性同位元素の使用施設で、
空気中の放射性核種を吸入した作業者の預託実効線量（mSv）を算定します。
最大使用予定数量（Tevol_1）、室内空気中濃度の実測値（Tevol_2）、
実際の使用数量（Tevol_3）、ガスモニターの計測値（Tevol_4）から算定する
四つの計算プログラムと、その一つを端末で起動する画面 Tevol からなります。
吸入摂取にのみ対応しており、経口摂取には対応していません。")

include(CPack)
