# Writes the page as one self-contained file: index.html with its style, the module (with its
# .wasm inside) and the page's script inlined. Usage:
#   cmake -DSOURCE_DIR=web -DMODULE=morvane.single.js -DOUTPUT=morvane.html -P inline.cmake
file(READ ${SOURCE_DIR}/index.html page)
file(READ ${SOURCE_DIR}/style.css style)
file(READ ${SOURCE_DIR}/page.js script)
file(READ ${MODULE} module)
# Inside a <script> element only "</script" would end it early.
string(REPLACE "</script" "<\\/script" script "${script}")
string(REPLACE "</script" "<\\/script" module "${module}")
foreach(piece
    "<link rel=\"stylesheet\" href=\"style.css\">"
    "<script src=\"page.js\"></script>")
  string(FIND "${page}" "${piece}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "inline.cmake: index.html no longer holds ${piece}")
  endif()
endforeach()
string(REPLACE "<link rel=\"stylesheet\" href=\"style.css\">" "<style>\n${style}</style>" page
       "${page}")
string(REPLACE "<script src=\"page.js\"></script>"
       "<script>\n${module}</script>\n<script>\n${script}</script>" page "${page}")
file(WRITE ${OUTPUT} "${page}")
