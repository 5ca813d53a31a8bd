# What a program needs to be found on a desktop: its menu entry, AppStream
# metainfo, manual page, icons and the file types it opens, all kept in
# <program>/desktop/.  The metainfo and the manual page carry the project's
# version and the data folder of this installation.
function(install_desktop_integration program id)
  set(dir ${CMAKE_CURRENT_SOURCE_DIR}/desktop)
  set(INSTALL_FULL_DATADIR ${CMAKE_INSTALL_FULL_DATADIR})
  configure_file(${dir}/${id}.metainfo.xml.in ${CMAKE_CURRENT_BINARY_DIR}/${id}.metainfo.xml @ONLY)
  configure_file(${dir}/${program}.1.in ${CMAKE_CURRENT_BINARY_DIR}/${program}.1 @ONLY)

  install(FILES ${dir}/${id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  # File types a program opens that the system may not know yet.
  if(EXISTS ${dir}/${id}.mime.xml)
    install(FILES ${dir}/${id}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${id}.xml)
  endif()
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${program}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${dir}/icons/${program}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 48 128 256)
    install(FILES ${dir}/icons/${program}-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${program}.png)
  endforeach()
endfunction()
