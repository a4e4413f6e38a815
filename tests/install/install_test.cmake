# -DBUILD=<build tree> -DSOURCE=<source tree> -DPREFIX=<scratch prefix> -DGUI=ON|OFF
# -DVERSION=<project version>
# Installs BUILD into PREFIX and checks the layout a desktop and a packager rely on, then
# runs the installed programs as a user would: from another folder, with no variable
# telling them where their data is.
file(REMOVE_RECURSE ${PREFIX})
# DESTDIR would put the files somewhere else than PREFIX.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DESTDIR ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
  OUTPUT_QUIET ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed with ${result}: ${errors}")
endif()
# The programs see their own folder with symbolic links resolved.
file(REAL_PATH ${PREFIX} PREFIX)
set(share ${PREFIX}/share)
set(data ${share}/plotcraftsman)

function(expect_file path)
  if(NOT EXISTS ${path} OR IS_DIRECTORY ${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endfunction()

# Every data file, unchanged.
file(GLOB_RECURSE resources RELATIVE ${SOURCE}/resources ${SOURCE}/resources/*)
foreach(name IN LISTS resources)
  expect_file(${data}/${name})
  file(SHA256 ${SOURCE}/resources/${name} want)
  file(SHA256 ${data}/${name} got)
  if(NOT want STREQUAL got)
    message(FATAL_ERROR "${data}/${name} differs from resources/${name}")
  endif()
endforeach()

# The desktop entry names the icon, the file type and the program that are installed.
set(entry ${share}/applications/plotcraftsman.desktop)
expect_file(${entry})
file(READ ${entry} text)
string(REGEX MATCH "\nIcon=([^\n]*)" ignored "${text}")
expect_file(${share}/icons/hicolor/scalable/apps/${CMAKE_MATCH_1}.svg)
string(REGEX MATCH "\nMimeType=([^;\n]*);" ignored "${text}")
set(type ${CMAKE_MATCH_1})
expect_file(${share}/mime/packages/plotcraftsman.xml)
file(READ ${share}/mime/packages/plotcraftsman.xml mime)
if(type STREQUAL "" OR NOT mime MATCHES "<mime-type type=\"${type}\">")
  message(FATAL_ERROR "the desktop entry's MimeType '${type}' is not in plotcraftsman.xml")
endif()
string(REGEX MATCH "\nExec=([^ \n]*)" ignored "${text}")
set(program ${CMAKE_MATCH_1})

# From a folder of its own, with nothing that says where the data is nor any of the
# user's settings and files.
set(work ${PREFIX}/../work)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
set(environment ${CMAKE_COMMAND} -E env --unset=PLOTCRAFTSMAN_DATA_DIR
  XDG_CONFIG_HOME=${work}/config XDG_DATA_HOME=${work}/data)

set(cli ${PREFIX}/bin/plotcraftsman-cli)
expect_file(${cli})
execute_process(
  COMMAND ${environment} ${cli} render ${data}/Examples/family.fx -o plot.png --size 400x300
  WORKING_DIRECTORY ${work} ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT errors STREQUAL "")
  message(FATAL_ERROR "the installed plotcraftsman-cli render exited with ${result}: ${errors}")
endif()
file(READ ${work}/plot.png signature LIMIT 8 HEX)
if(NOT signature STREQUAL "89504e470d0a1a0a")
  message(FATAL_ERROR "the installed plotcraftsman-cli render wrote no PNG")
endif()

# Started without files, the program takes its start-up file from the data folder; a
# configuration of the wrong version falls back to the data folder's default, which is
# there (message 303 would say it is not).
file(WRITE ${work}/startup.txt "args\nreadconfig ${data}/Examples/family.fx\n")
execute_process(
  COMMAND ${environment} ${cli} script startup.txt
  WORKING_DIRECTORY ${work} OUTPUT_VARIABLE output RESULT_VARIABLE result)
string(FIND "${output}" "functions ${data}/start.fx\nmessage 14\n" at)
if(NOT at EQUAL 0 OR output MATCHES "message 303")
  message(FATAL_ERROR "the installed plotcraftsman-cli does not find its data in ${data}:\n${output}")
endif()

if(GUI)
  expect_file(${PREFIX}/bin/${program})
  execute_process(
    COMMAND ${environment} QT_QPA_PLATFORM=offscreen ${PREFIX}/bin/plotcraftsman --version
    WORKING_DIRECTORY ${work} OUTPUT_VARIABLE output ERROR_VARIABLE errors
    RESULT_VARIABLE result TIMEOUT 60)
  if(NOT result EQUAL 0 OR NOT output MATCHES "${VERSION}")
    message(FATAL_ERROR "plotcraftsman --version exited with ${result}: ${output}${errors}")
  endif()
  # Started for real, the program reads the installation's layout for the screen and keeps
  # a copy in the user's folder: proof that it found its data. It runs until it is stopped.
  execute_process(
    COMMAND ${environment} QT_QPA_PLATFORM=offscreen PLOTCRAFTSMAN_NO_SPLASH=1
      ${PREFIX}/bin/plotcraftsman
    WORKING_DIRECTORY ${work} OUTPUT_QUIET ERROR_QUIET RESULT_VARIABLE result TIMEOUT 10)
  file(GLOB copies ${work}/data/Plotcraftsman/config*.pcf)
  if(NOT copies)
    message(FATAL_ERROR "the installed plotcraftsman did not read its layout (${result})")
  endif()
endif()
