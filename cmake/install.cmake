# The installed layout. The programs find their data from their own folder at
# ../share/plotcraftsman/ (catalogue/directories.cpp), so these folders are fixed and not
# taken from GNUInstallDirs, which a packager may point elsewhere.
install(TARGETS plotcraftsman-cli RUNTIME DESTINATION bin)
if(TARGET plotcraftsman)
  install(TARGETS plotcraftsman RUNTIME DESTINATION bin)
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/ DESTINATION share/plotcraftsman)

# The desktop's side: a menu entry, an icon and a file type for ".fx".
install(FILES ${PROJECT_SOURCE_DIR}/packaging/plotcraftsman.desktop DESTINATION share/applications)
# The icon lies among the data, where the program takes its window icon from, and in the
# icon theme, where the desktop looks for it.
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/plotcraftsman.svg
  DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/plotcraftsman.xml DESTINATION share/mime/packages)

if(PLOTCRAFTSMAN_TESTS)
  add_subdirectory(${PROJECT_SOURCE_DIR}/tests/install ${PROJECT_BINARY_DIR}/tests/install)
endif()
