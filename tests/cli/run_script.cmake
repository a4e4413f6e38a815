# Runs plotcraftsman-cli in a fresh copy of the scripts folder, so that what it writes stays
# out of the sources, and compares its output with the expected file byte for byte.
# -DCLI=... -DEXPECTED=... -DINPUTS=<scripts folder> -DWORKDIR=<scratch folder>, and either
# -DSCRIPT=<script file> to run it or -DARGUMENTS=<arguments> for any other command line.
file(REMOVE_RECURSE ${WORKDIR})
file(COPY ${INPUTS}/ DESTINATION ${WORKDIR})
if(DEFINED SCRIPT)
  set(ARGUMENTS script ${SCRIPT})
endif()
execute_process(
  COMMAND ${CLI} ${ARGUMENTS}
  WORKING_DIRECTORY ${WORKDIR}
  OUTPUT_VARIABLE actual
  ERROR_VARIABLE errors
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "plotcraftsman-cli ${ARGUMENTS} exited with ${result}: ${errors}")
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  file(WRITE ${WORKDIR}/output.actual "${actual}")
  message(FATAL_ERROR "output of plotcraftsman-cli ${ARGUMENTS} differs from ${EXPECTED}:\n${actual}")
endif()
