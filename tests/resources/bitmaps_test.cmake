# -DBITMAPS=<folder>
# A picture that is missing, misnamed or not a scalable SVG leaves a blank cell or button
# with no error anywhere, so every name the windows ask for is checked here.
set(faults "")
foreach(name PFEIL PFEIL_X BLANK CHECKED NOCHECKED FORBIDDEN REF REF_X
             Y XTYT FXY R_PHI RTPHIT FPHIR ONTOP HELP)
  set(path ${BITMAPS}/${name}.svg)
  if(NOT EXISTS ${path})
    string(APPEND faults "\n  missing: ${path}")
    continue()
  endif()
  file(READ ${path} text)
  string(REGEX REPLACE "^<\\?xml[^>]*\\?>" "" text "${text}")
  string(STRIP "${text}" text)
  if(NOT text MATCHES "^<svg[^>]*viewBox=")
    string(APPEND faults "\n  not an SVG with a viewBox: ${path}")
  endif()
endforeach()
if(faults)
  message(FATAL_ERROR "pictures:${faults}")
endif()
