# Installs Leaflet ${VERSION} under ${PREFIX} with npm. A failure (no network) is reported and
# otherwise ignored: the stamp is written either way, so an offline build does not retry.
file(MAKE_DIRECTORY ${PREFIX})
execute_process(
  COMMAND ${NPM} install --no-audit --no-fund --no-save --fetch-retries=1 --prefix ${PREFIX} leaflet@${VERSION}
  RESULT_VARIABLE result
  OUTPUT_QUIET
  ERROR_VARIABLE errors
  TIMEOUT 120)
if(NOT result EQUAL 0)
  message(WARNING "npm could not install leaflet@${VERSION} (${result}); the map page will draw "
    "the track without it.\n${errors}")
endif()
file(TOUCH ${STAMP})
