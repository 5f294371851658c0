# cmake -DTEMPLATE=sw.js.in -DOUTPUT=sw.js -DVERSION=1.2.3 "-DFILES=a;b" -P MakeServiceWorker.cmake
# Writes the page's service worker: its cache name carries the release and a
# digest of the names and bytes of the files it keeps, which it lists.
set(manifest "")
set(names "")
foreach(file IN LISTS FILES)
    get_filename_component(name ${file} NAME)
    file(SHA256 ${file} sum)
    string(APPEND manifest "${name} ${sum}\n")
    list(APPEND names "'${name}'")
endforeach()
string(SHA256 digest "${manifest}")
string(SUBSTRING ${digest} 0 16 QF_DIGEST)
set(QF_VERSION ${VERSION})
list(JOIN names ", " QF_FILES)
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
