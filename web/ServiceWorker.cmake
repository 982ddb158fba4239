# Writes the page's service worker (cmake -P): the template web/sw.js with the site's files listed
# and its cache named after this build, tarnyx-VERSION-HASH, HASH from the files' contents, so
# that any change to any file of the site makes a new cache and the browsers take the new files.
#
# cmake -DSITE=dir -DTEMPLATE=sw.js -DVERSION=0.06 -DFILES="index.html;tarnyx.js;..." -P ServiceWorker.cmake
foreach(required SITE TEMPLATE VERSION FILES)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "ServiceWorker.cmake needs -D${required}=")
  endif()
endforeach()

set(summary "")
set(TARNYX_SITE_FILES "")
foreach(file IN LISTS FILES)
  if(NOT EXISTS ${SITE}/${file})
    message(FATAL_ERROR "the site has no ${file} to keep offline")
  endif()
  file(SHA256 ${SITE}/${file} hash)
  string(APPEND summary "${file} ${hash}\n")
  if(TARNYX_SITE_FILES)
    string(APPEND TARNYX_SITE_FILES ", ")
  endif()
  string(APPEND TARNYX_SITE_FILES "'${file}'")
endforeach()
string(SHA256 digest "${summary}")
string(SUBSTRING ${digest} 0 16 digest)
set(TARNYX_CACHE_NAME "tarnyx-${VERSION}-${digest}")
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
