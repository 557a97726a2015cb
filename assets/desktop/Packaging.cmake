# The Debian package that ./run.sh package makes with CPack: wirtola_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wirtola)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Wirtola developers")
set(CPACK_PACKAGE_CONTACT "The Wirtola developers <wirtola@wirtola.pl>")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows are laid out with the Liberation 2 metrics: in another font the labels lose their
# ends. Qt's own texts (a field's right-click menu) in Polish come from Qt's translations; on a
# Wayland desktop the game is a native Wayland client. SDL2 is loaded only when a tune is due, so
# dpkg-shlibdeps cannot see it: the version is the oldest that has every function the game takes
# from it. dpkg-shlibdeps adds the linked libraries to this.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, libsdl2-2.0-0 (>= 2.0.16), qt6-translations-l10n, qt6-wayland")
# The synopsis, then the long description in English and Polish.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[five-card draw poker against the computer
Wirtola is a small five-card draw poker game for the desktop: you against
the computer, in Polish or in English, as your desktop's language asks.
You start with a fund of 3000 zł and stake up to 990 zł a deal; keep the
cards you like, buy new ones for the rest, and the computer shows its
hand. Reach 6000 zł, double your fund, and the game rewards you with a
picture and a fanfare; then the next game starts afresh at 3000 zł.
Wins, losses and the fund are kept in your data folder between games.
No real money is involved.

Wirtola to mały poker dobierany: Ty przeciw komputerowi, po polsku albo
po angielsku, zależnie od języka pulpitu. Zaczynasz z funduszem 3000 zł
i stawiasz do 990 zł na rozdanie; zostawiasz karty, które Ci się
podobają, resztę wymieniasz, a komputer odkrywa swoje. Kto dojdzie do
6000 zł, czyli podwoi fundusz, zobaczy nagrodę i usłyszy fanfarę; potem
następna gra zaczyna się od nowa, od 3000 zł. Wygrane, przegrane i
fundusz są zapamiętywane między grami. Gra nie toczy się o prawdziwe
pieniądze.]=])
include(CPack)
