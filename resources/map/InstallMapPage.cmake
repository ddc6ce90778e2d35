# Copies the map page to ${TARGET}, with Leaflet's files from ${LEAFLET} when npm installed
# them; the page is written with or without the Leaflet tags accordingly, so that a page without
# Leaflet never asks for files that are not there.
file(MAKE_DIRECTORY ${TARGET})
file(COPY ${SOURCE}/map.js ${SOURCE}/map.css DESTINATION ${TARGET})
file(REMOVE_RECURSE ${TARGET}/leaflet)
if(EXISTS ${LEAFLET}/leaflet.js AND EXISTS ${LEAFLET}/leaflet.css)
  file(COPY ${LEAFLET}/leaflet.js ${LEAFLET}/leaflet.css ${LEAFLET}/images
    DESTINATION ${TARGET}/leaflet)
  set(KX_LEAFLET_TAGS
    "<link rel=\"stylesheet\" href=\"leaflet/leaflet.css\">\n  <script src=\"leaflet/leaflet.js\"></script>")
else()
  set(KX_LEAFLET_TAGS "")
endif()
configure_file(${SOURCE}/map.htm.in ${TARGET}/map.htm @ONLY)
