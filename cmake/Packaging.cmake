# The licence and the Debian package of both programs (scripts/package).
set(DOC_FOLDER ${CMAKE_INSTALL_DATAROOTDIR}/doc/notivo-keyrig)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${DOC_FOLDER})
# Debian looks for the licence of a package here, under this name.
install(FILES ${PROJECT_SOURCE_DIR}/cmake/copyright DESTINATION ${DOC_FOLDER})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME notivo-keyrig)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "notivo and keyrig developers <developers@notivo-keyrig.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "score editor and keyboard instrument with a General MIDI synthesiser")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}
 notivo writes a melody on one treble staff and plays it through a General
 MIDI synthesiser; scores are plain text files, export as MIDI, MusicXML
 and audio, and are read from MusicXML and MIDI files. keyrig turns the
 computer keyboard into a three-octave instrument with twelve drum pads and
 a drum-beat accompaniment.
 .
 Both sound through a built-in synthesiser (FluidSynth with a GM SoundFont)
 and can drive the MIDI ports of the system.")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # notivo-keyrig_<version>_<arch>.deb
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/CompressManPages.cmake)
# Libraries from dpkg-shlibdeps; the synthesiser needs a GM SoundFont and Qt
# its platform plugins, which no binary links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fluid-soundfont-gm | timgm6mb-soundfont, qt6-qpa-plugins")
# The programs' look is drawn with these fonts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, fonts-dejavu-core")
include(CPack)
