# Makes the locale de_DE.UTF-8 in LOCALE_DIR and runs TEST_BINARY under it
# (LOCPATH=LOCALE_DIR, LC_ALL=de_DE.UTF-8). Any step that fails fails the test.
# Needs localedef and the locale sources (Debian: the locales package).
if(NOT LOCALEDEF OR NOT EXISTS "${LOCALEDEF}")
  message(FATAL_ERROR "localedef not found; it comes with the C library (Debian: libc-bin)")
endif()

file(MAKE_DIRECTORY "${LOCALE_DIR}")
execute_process(COMMAND "${LOCALEDEF}" -i de_DE -f UTF-8 "${LOCALE_DIR}/de_DE.UTF-8"
                RESULT_VARIABLE nResult OUTPUT_VARIABLE strOut ERROR_VARIABLE strOut)
# Exit status 1 means warnings only, with the locale written; the test binary
# checks that the locale is there and has a decimal comma.
if(NOT nResult EQUAL 0 AND NOT nResult EQUAL 1)
  message(FATAL_ERROR "localedef failed (${nResult}); are the locale sources there "
                      "(Debian: the locales package)?\n${strOut}")
endif()
if(NOT EXISTS "${LOCALE_DIR}/de_DE.UTF-8/LC_NUMERIC")
  message(FATAL_ERROR "localedef made no LC_NUMERIC in ${LOCALE_DIR}/de_DE.UTF-8:\n${strOut}")
endif()

execute_process(COMMAND "${CMAKE_COMMAND}" -E env "LOCPATH=${LOCALE_DIR}" LC_ALL=de_DE.UTF-8 "${TEST_BINARY}"
                RESULT_VARIABLE nResult)
if(NOT nResult EQUAL 0)
  message(FATAL_ERROR "the tests under de_DE.UTF-8 failed (${nResult})")
endif()
