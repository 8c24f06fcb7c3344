# The Debian package of everything installed; scripts/package makes it with cpack.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME faultscope)
set(CPACK_PACKAGE_VENDOR "Faultscope developers")
set(CPACK_PACKAGE_CONTACT "Faultscope developers <packages@faultscope.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL ${FAULTSCOPE_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "COMTRADE fault record viewer and analyser")
# The summary above heads it; a blank line parts the English and the Russian paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Faultscope opens fault records (oscillograms) of electric power systems stored
as COMTRADE 1999 ASCII file pairs and shows their analog and discrete channels
on one time axis, with readouts of harmonics 1, 2, 3 and 5 at the cursor, time
labels, vector diagrams with distance protection zones, formula channels,
printing and export. faultscope-cli does the same analysis in scripts.

Faultscope - просмотр и анализ осциллограмм аварийных событий в формате
COMTRADE 1999: аналоговые и дискретные каналы на одной оси времени,
действующие значения 1, 2, 3 и 5 гармоник у курсора, временные метки,
векторные диаграммы с зонами дистанционной защиты, формульные каналы,
печать и экспорт. faultscope-cli выполняет тот же анализ в сценариях.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The toolkit's own Russian texts (dialog buttons, the file dialog) are loaded at start-up.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
