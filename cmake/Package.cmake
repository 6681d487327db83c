# `cpack` (or the `package` target) builds a Debian package of what cmake/Install.cmake
# installs. Library dependencies are found by dpkg-shlibdeps; the rest are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tempolane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tempolane)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tempolane developers" CACHE STRING
    "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "manage and monitor the jobs of your personal crontab
Tempolane shows every job of your crontab with a description of its schedule
and its next run, in English or German, and lets you create, edit, duplicate,
delete, pause and resume jobs, visually or as cron syntax. It never overwrites a crontab that
changed behind its back and keeps a backup of every text it replaces.
Monitored jobs record every run, so failed, interrupted and missed runs show,
even while the application is closed.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# cron runs the jobs; Qt's own dialog texts are German only with Qt's translations (English
# needs none); the libraries do not pull in the platform plugins that open a window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "cron | cron-daemon, qt6-translations-l10n, qt6-qpa-plugins")
# xdg-open shows the download page and the licence notices; Wayland sessions get native
# windows with Qt's Wayland plugin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")

include(CPack)
