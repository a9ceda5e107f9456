# The help: glossira.chm compiled from help/ with chmcmd (Free Pascal) and
# placed beside glossira.exe. The build fails when a page the project lists
# is missing or a link or picture inside the help points nowhere.

find_program(GLOSSIRA_CHMCMD chmcmd)
if(NOT GLOSSIRA_CHMCMD)
  if(CMAKE_HOST_WIN32)
    message(WARNING "chmcmd (Free Pascal) not found: glossira.chm is not built")
    return()
  endif()
  message(FATAL_ERROR "chmcmd not found: tools/setup installs it (Debian package fp-utils-3.2.2)")
endif()

set(GLOSSIRA_HELP_SOURCE ${CMAKE_SOURCE_DIR}/help)
set(GLOSSIRA_HELP_STAGE ${CMAKE_BINARY_DIR}/help)
file(MAKE_DIRECTORY ${GLOSSIRA_HELP_STAGE})
file(GLOB_RECURSE GLOSSIRA_HELP_FILES CONFIGURE_DEPENDS ${GLOSSIRA_HELP_SOURCE}/*)

# chmcmd leaves an empty file behind when it fails: the stamp is written
# only after it succeeded.
add_custom_command(
  OUTPUT ${GLOSSIRA_HELP_STAGE}/glossira.stamp
  COMMAND ${CMAKE_COMMAND} -DHELP_DIR=${GLOSSIRA_HELP_SOURCE} -DHELP_PROJECT=${GLOSSIRA_HELP_SOURCE}/glossira.hhp
          -P ${CMAKE_SOURCE_DIR}/cmake/help_check.cmake
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${GLOSSIRA_HELP_SOURCE} ${GLOSSIRA_HELP_STAGE}
  COMMAND ${GLOSSIRA_CHMCMD} --verbosity 0 glossira.hhp
  COMMAND ${CMAKE_COMMAND} -E touch glossira.stamp
  WORKING_DIRECTORY ${GLOSSIRA_HELP_STAGE}
  DEPENDS ${GLOSSIRA_HELP_FILES} ${CMAKE_SOURCE_DIR}/cmake/help_check.cmake
  COMMENT "Compiling glossira.chm"
  VERBATIM)
add_custom_target(glossira_help ALL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${GLOSSIRA_HELP_STAGE}/glossira.chm $<TARGET_FILE_DIR:glossira>/glossira.chm
  DEPENDS ${GLOSSIRA_HELP_STAGE}/glossira.stamp
  VERBATIM)
add_dependencies(glossira_help glossira)

# The compiled file read back with Debian's chmls and extract_chmLib.
add_test(NAME help COMMAND ${CMAKE_COMMAND} -DCHM=$<TARGET_FILE_DIR:glossira>/glossira.chm
  -DHELP_DIR=${GLOSSIRA_HELP_SOURCE} -DWORK=${CMAKE_BINARY_DIR}/help-test
  -P ${CMAKE_SOURCE_DIR}/tests/help/compiled_help_test.cmake)
